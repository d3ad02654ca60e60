# fish completion for vexloweb.
set -l commands seal open check load defaults schema
complete -c vexloweb -f
complete -c vexloweb -n "not __fish_seen_subcommand_from $commands" -a seal -d 'Seal JSON documents into .io files'
complete -c vexloweb -n "not __fish_seen_subcommand_from $commands" -a open -d 'Print the document inside an .io file'
complete -c vexloweb -n "not __fish_seen_subcommand_from $commands" -a check -d 'Check .io files through every layer'
complete -c vexloweb -n "not __fish_seen_subcommand_from $commands" -a load -d 'Load configurations as an app would'
complete -c vexloweb -n "not __fish_seen_subcommand_from $commands" -a defaults -d 'Print the user-defaults store'
complete -c vexloweb -n "not __fish_seen_subcommand_from $commands" -a schema -d "Print the document's JSON Schema"
complete -c vexloweb -n "not __fish_seen_subcommand_from $commands" -l version -d 'Show the version'
complete -c vexloweb -l help -d 'Show help'
complete -c vexloweb -n "__fish_seen_subcommand_from seal open check load" -l key -x -d 'Key text, 16 or 32 characters'
complete -c vexloweb -n "__fish_seen_subcommand_from seal open check load" -l key-file -r -F -d 'Read the key text from a file'
complete -c vexloweb -n "__fish_seen_subcommand_from seal open check load" -l iv -x -d 'IV text, 16 characters'
complete -c vexloweb -n "__fish_seen_subcommand_from seal" -s o -l output -r -F -d 'Output file, - or folder/'
complete -c vexloweb -n "__fish_seen_subcommand_from seal" -l no-check -d 'Seal without checking'
complete -c vexloweb -n "__fish_seen_subcommand_from seal" -a "(__fish_complete_suffix .json)"
complete -c vexloweb -n "__fish_seen_subcommand_from open check" -a "(__fish_complete_suffix .io)"
complete -c vexloweb -n "__fish_seen_subcommand_from check" -l json -d 'One JSON object per file'
complete -c vexloweb -n "__fish_seen_subcommand_from check" -l strict -d 'Fail on warnings too'
complete -c vexloweb -n "__fish_seen_subcommand_from load" -l bundle -x -a "(__fish_complete_directories)" -d 'Resource folder'
complete -c vexloweb -n "__fish_seen_subcommand_from load defaults" -l defaults -r -F -d 'User-defaults file'
complete -c vexloweb -n "__fish_seen_subcommand_from load" -a "(path basename -E *.io 2>/dev/null)"
complete -c vexloweb -n "__fish_seen_subcommand_from defaults" -a "ADMOB_ID BANNER INTERSTITIAL REWARDED AD_DELAY BANNER_AD_DELAY INTERSTITIAL_AD_DELAY REWARDED_AD_DELAY FB_AD_ID FB_BANNER FB_INTERSTITIAL FB_REWARDED FB_AD_DELAY FB_BANNER_DELAY FB_INTERSTITIAL_DELAY FB_REWARDED_DELAY COLOR_PRIMARY COLOR_PRIMARY_DARK APP_THEME"
