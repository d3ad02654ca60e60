"""Hand-written faults for the GTK 4 layer (src/gtk/, include/vexloweb/gtk/): visibility states on
real widgets (GtkBox and GtkConstraintLayout parents, the widget's own collapse constraint),
identifiers and descriptions of GtkConstraint, and the palette as GdkRGBA and CSS text. Each
breaks something the README's "On GTK 4" section or a header of the layer promises: a state read
wrongly, a constraint made twice or left in place, an unknown word acted on, a colour text GDK
reads differently, an identifier cut short. Written from the code and the README alone. Run them
from the repository root:
    python3 ../shared/tools/mutate.py --faults dev/faults/gtk_layer.py --preset gtk"""

FAULTS = [
    ('G01', 'src/gtk/color.cpp',
     '  if (byteOf(color.alpha()) == 255) {',
     '  if (color.alpha() == 1.0) {',
     'css: an alpha above 1 or just under it (rounding to 255) gives rgba(...) text instead of '
     '#rrggbb'),
    ('G02', 'src/gtk/color.cpp',
     '"0123456789abcdef"',
     '"0123456789ABCDEF"',
     'css: opaque colours written in upper-case hex ("#EDBF65" instead of "#edbf65")'),
    ('G03', 'src/gtk/color.cpp',
     'std::isnan(component) ? 0.0 :',
     'std::isnan(component) ? 1.0 :',
     'css: a NaN component counts as 1, so a NaN alpha is opaque instead of transparent'),
    ('G04', 'src/gtk/color.cpp',
     'std::to_chars(alpha, alpha + sizeof alpha, normalised(color.alpha()))',
     'std::to_chars(alpha, alpha + sizeof alpha, color.alpha())',
     'css: alpha written unclamped: a negative alpha gives "-0.5" and a NaN one "nan", text GDK '
     'does not parse'),
    ('G05', 'src/gtk/color.cpp',
     'static_cast<int>(std::lround(normalised(component) * 255.0))',
     'static_cast<int>(normalised(component) * 255.0)',
     'css: components times 255 truncated instead of rounded (0.5 gives 127, not 128)'),
    ('G06', 'src/gtk/color.cpp',
     'static_cast<float>(color.blue()), static_cast<float>(color.alpha())};',
     'static_cast<float>(color.blue()), 1.0f};',
     "rgba: the colour's alpha is dropped (every GdkRGBA opaque)"),
    ('G07', 'src/gtk/constraint_description.cpp',
     'new std::string(identifier),',
     "new std::string(identifier.substr(0, identifier.find('\\0'))),",
     'setConstraintIdentifier: an identifier holding NUL is cut at the NUL'),
    ('G08', 'src/gtk/constraint_description.cpp',
     '  if (identifier == nullptr) return std::nullopt;',
     '  if (identifier == nullptr) return std::string();',
     'constraintIdentifier gives "" instead of nothing for a constraint never given one'),
    ('G09', 'src/gtk/constraint_description.cpp',
     'gtk_constraint_get_constant(constraint)',
     'gtk_constraint_get_multiplier(constraint)',
     "constraintDescription shows the constraint's multiplier instead of its constant"),
    ('G10', 'src/gtk/visibility_state.cpp',
     '    if (holdsHeightZero(layout, widget)) return State::kGone;',
     '    if (!shown && holdsHeightZero(layout, widget)) return State::kGone;',
     "a shown widget held at height 0 by a host's own constraint reads \"visible\" instead of "
     '"gone"'),
    ('G11', 'src/gtk/visibility_state.cpp',
     '    return shown && gtk_widget_get_child_visible(widget) ? State::kVisible : State::kInvisible;',
     '    return gtk_widget_get_child_visible(widget) ? State::kVisible : State::kInvisible;',
     'a widget hidden in a constraint layout (keeping its gap) reads "visible" instead of '
     '"invisible"'),
    ('G12', 'src/gtk/visibility_state.cpp',
     'GTK_CONSTRAINT_ATTRIBUTE_HEIGHT &&\n                  gtk_constraint_get_constant(item) == 0.0;',
     'GTK_CONSTRAINT_ATTRIBUTE_HEIGHT;',
     'any height constraint on the widget (height = 40 too) makes it read "gone"'),
    ('G13', 'src/gtk/visibility_state.cpp',
     '      release(widget, layout);\n      gtk_widget_set_visible(widget, TRUE);',
     '      if (*wanted == State::kInvisible) release(widget, layout);\n'
     '      gtk_widget_set_visible(widget, TRUE);',
     '"visible" after "gone" in a constraint layout keeps the collapse constraint: the widget stays '
     'at height 0 and reads "gone"'),
    ('G14', 'src/gtk/visibility_state.cpp',
     '  if (state == "gone") return State::kGone;\n  return std::nullopt;',
     '  if (state == "gone") return State::kGone;\n  return State::kVisible;',
     'an unknown word (another letter case, "") makes the widget visible instead of changing '
     'nothing'),
    ('G15', 'src/gtk/visibility_state.cpp',
     '  if (constraint == nullptr) {\n    constraint = gtk_constraint_new_constant(',
     '  if (constraint == nullptr || !holdsHeightZero(layout, widget, constraint)) {\n'
     '    constraint = gtk_constraint_new_constant(',
     'each "gone" after a "visible" makes a new collapse constraint instead of adding the same '
     'one again'),
]
