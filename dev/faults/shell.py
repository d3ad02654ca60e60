"""Hand-written faults for the desktop shell, vexloweb-shell (shell/): the navigation policy and
link rules, the app model, the colour assets, download naming and saving, the page guard of the
main view and custom tabs, the window's chrome, the preview's --dump-ui and screenshot, and
main.cpp's exit statuses. Each breaks something the README's section on the shell promises: a
scheme handed to the desktop, a sub-frame moved, a gesture check dropped, a download that keeps
its temporary file or a name that leaves its folder, a preview that hands addresses out, an exit
status or a --dump-ui member changed, an option's meaning handled wrongly.

Run them from the repository root:
  python3 ../shared/tools/mutate.py --faults dev/faults/shell.py --preset gui"""

FAULTS = [
    # --- navigation_policy.cpp -----------------------------------------------------------------
    ('H01', 'shell/navigation_policy.cpp',
     '  if (request.frame == Frame::kSub && !newWindow) {\n'
     '    return isWeb(scheme) || scheme == "file" ? Decision::kLoad : Decision::kRefuse;  // in place\n'
     '  }\n',
     '',
     'sub-frames go through the link rules: an <iframe> an EXTERNAL rule matches is handed to the '
     'browser (or a tab) instead of loading in its frame'),
    ('H02', 'shell/navigation_policy.cpp',
     '    return request.gesture ? Decision::kDesktop : Decision::kRefuse;',
     '    return Decision::kDesktop;',
     'mailto:, tel: and sms: reach the desktop without a user gesture (a timed redirect opens the '
     'mail client)'),
    ('H03', 'shell/navigation_policy.cpp',
     '  if (!isWeb(scheme) && !local && !isInPage(scheme)) return Decision::kRefuse;\n',
     '',
     'smb:, ftp:, javascript: and custom schemes in the main frame are no longer refused: the '
     'rules decide (INSIDE loads them, --route says INSIDE)'),
    ('H04', 'shell/navigation_policy.cpp',
     '  if (newWindow && !request.gesture) return Decision::kRefuse;\n',
     '',
     'window.open without a user gesture is no longer refused: popups open in the view'),
    ('H05', 'shell/navigation_policy.cpp',
     'const bool mayLeave = request.gesture || !request.sentOutWithoutGesture;',
     'const bool mayLeave = !request.sentOutWithoutGesture;',
     "after a page sent one address out on its own, the user's click on an EXTERNAL link is "
     'refused too (a gesture no longer lifts the limit)'),
    ('H06', 'shell/navigation_policy.cpp',
     '  return shellMayLoad ? Decision::kOpenHere : Decision::kRefuse;',
     '  return Decision::kOpenHere;',
     'a new window to a data:, about: or blob: address is loaded by the shell in the asking view '
     'instead of refused'),
    ('H07', 'shell/navigation_policy.cpp',
     'schemeOf(request.pageUrl) == "file";',
     'schemeOf(request.pageUrl) != "https";',
     'a plain http: page (or about:blank) may load and open local file: addresses'),
    # --- routing.cpp --------------------------------------------------------------------------
    ('H08', 'shell/routing.cpp',
     '      return address == url;',
     '      return address.starts_with(url);',
     'EQUAL rule matches every address that starts with its url (not a whole-string comparison)'),
    ('H09', 'shell/routing.cpp',
     '    const auto& type = rule.type();\n'
     '    return type ? fromRawValue<Open>(*type).value_or(Open::INSIDE) : Open::INSIDE;',
     '    const auto& type = rule.type();\n'
     '    if (!type) continue;\n'
     '    return fromRawValue<Open>(*type).value_or(Open::INSIDE);',
     'a matching rule without a type is skipped, so a later rule decides, instead of opening '
     'inside'),
    # --- app_model.cpp ------------------------------------------------------------------------
    ('H10', 'shell/app_model.cpp',
     '    if (*option == button.left || *option == button.right) return button.action;',
     '    if (*option == button.left) return button.action;',
     'RIGHT_* button words are not recognised: a right button set to RIGHT_RELOAD is gone'),
    ('H11', 'shell/app_model.cpp',
     '  m.title = r.menu_header_title().value_or(r.package_name().value_or("VexloWeb"));',
     '  m.title = r.package_name().value_or(r.menu_header_title().value_or("VexloWeb"));',
     'title: package_name wins over menu_header_title'),
    # --- colour_assets.cpp --------------------------------------------------------------------
    ('H12', 'shell/colour_assets.cpp',
     '  if (pickedTheme && std::find(themes.begin(), themes.end(), *pickedTheme) != themes.end()) {',
     '  if (!primaryName && pickedTheme &&\n'
     '      std::find(themes.begin(), themes.end(), *pickedTheme) != themes.end()) {',
     'a theme picked from the side menu no longer wins over the exported COLOR_PRIMARY names '
     'once the app starts again'),
    # --- download_naming.cpp ------------------------------------------------------------------
    ('H13', 'shell/download_naming.cpp',
     "[](char c) { return c == '/' || c == '\\\\' || static_cast<unsigned char>(c) < 0x20; }",
     "[](char c) { return c == '\\\\' || static_cast<unsigned char>(c) < 0x20; }",
     'a suggested name with "/" keeps it: "../x" saves outside the download folder'),
    ('H14', 'shell/download_naming.cpp',
     "  if (name.find_first_not_of('.') == std::string::npos) name = \"download\";",
     '  if (name.empty()) name = "download";',
     'a suggested name of only dots ("..") is kept as the file name instead of "download"'),
    ('H15', 'shell/download_naming.cpp',
     '  stem = cut(stem, kMaxNameBytes - suffix.size() - extension.size());',
     '  stem = cut(stem, kMaxNameBytes - extension.size());',
     'the free name of a 255-byte file name (" (1)" added) is longer than 255 bytes'),
    # --- downloads.cpp ------------------------------------------------------------------------
    # H16 is equivalent today: WebKit removes a failed or cancelled download's destination (our
    # temporary) itself, so the end-to-end run finds the folder clean with or without the unlink.
    ('H16', 'shell/downloads.cpp',
     '  if (!flight.temporary.empty()) unlink(flight.temporary.c_str());\n',
     '',
     'a failed or cancelled download leaves its .vexloweb-download-XXXXXX file in the folder'),
    # --- page_guard.cpp -----------------------------------------------------------------------
    ('H17', 'shell/page_guard.cpp',
     '    if (!webkit_response_policy_decision_is_main_frame_main_resource(response)) {\n'
     '      guard->waiting.erase(url);\n'
     '      guard->window->record(url, Decision::kLoad);\n'
     '      return FALSE;\n'
     '    }\n',
     '',
     "a sub-frame's response is decided as the main frame's: an <iframe> an EXTERNAL rule "
     'matches is handed to the browser'),
    ('H18', 'shell/page_guard.cpp',
     '  const bool gesture = own || webkit_navigation_action_is_user_gesture(action) != FALSE;',
     '  const bool gesture =\n'
     '      own || !newWindow || webkit_navigation_action_is_user_gesture(action) != FALSE;',
     'every navigation (not a new window) counts as a gesture: a timed redirect to mailto: reaches the '
     'desktop, and a timer can flood the browser'),
    ('H19', 'shell/page_guard.cpp',
     '  if (options.preview) return;  // a preview opens nothing outside itself\n',
     '',
     'a preview (--screenshot, --dump-ui) hands EXTERNAL and mailto: addresses to the desktop'),
    # --- custom_tab.cpp -----------------------------------------------------------------------
    ('H20', 'shell/custom_tab.cpp',
     '  guard(view, true);\n',
     '',
     "a custom tab's view has no policy: its pages load smb: or custom schemes, open popups and "
     'ignore the rules, and none of its navigations is recorded in routes'),
    # --- window_chrome.cpp --------------------------------------------------------------------
    ('H21', 'shell/window_chrome.cpp',
     '  if (model.tabs.empty()) gtk::setVisibilityState(tabBar, "gone");',
     '  if (model.tabs.size() < 2) gtk::setVisibilityState(tabBar, "gone");',
     'an app with exactly one tab has its tab bar "gone"'),
    # --- preview.cpp --------------------------------------------------------------------------
    ('H22', 'shell/preview.cpp',
     'width > impl_->options.width || height > impl_->options.height) {',
     'width > impl_->options.width) {',
     'screenshot: a window that grew taller than --size is drawn instead of exiting 1'),
    ('H23', 'shell/preview.cpp',
     '",\\"saved_as\\":" + orNull(d.savedAs)',
     '",\\"saved_as\\":" + jsonString(d.savedAs)',
     '--dump-ui: a download not saved has saved_as "" instead of null'),
    # --- main.cpp -----------------------------------------------------------------------------
    ('H24', 'shell/main.cpp',
     '    return app.exit(error) == 0 ? 0 : kUsage;',
     '    return app.exit(error);',
     "an unknown option or a missing NAME exits with CLI11's own code (109, 106) instead of 2"),
    ('H25', 'shell/application.cpp',
     'failure && status == 0) {',
     'failure) {',
     'a screenshot that could not be written exits 3 (page failed) instead of 1 when the first '
     'page failed too'),
]
