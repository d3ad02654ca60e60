# fish completion for vexloweb-shell.
complete -c vexloweb-shell -f
complete -c vexloweb-shell -l bundle -x -a "(__fish_complete_directories)" -d 'Folder of NAME.io'
complete -c vexloweb-shell -l defaults -r -F -d 'User-defaults file'
complete -c vexloweb-shell -l base-url -x -d 'Open this address instead'
complete -c vexloweb-shell -l size -x -d 'Window size WxH'
complete -c vexloweb-shell -l screenshot -r -F -d 'Draw the window into a PNG'
complete -c vexloweb-shell -l dump-ui -d 'Print what is shown as JSON'
complete -c vexloweb-shell -l route -x -d 'Print how the app opens an address'
complete -c vexloweb-shell -l help -d 'Show help'
complete -c vexloweb-shell -l version -d 'Show the version'
complete -c vexloweb-shell -n "__fish_use_subcommand" -a "(path basename -E *.io 2>/dev/null)"
complete -c vexloweb-shell -n "__fish_use_subcommand" -a install -d 'Put NAME.io in the app menu'
complete -c vexloweb-shell -n "__fish_use_subcommand" -a uninstall -d 'Take an installed app out'
complete -c vexloweb-shell -n "__fish_use_subcommand" -a list -d 'Show the installed apps'
complete -c vexloweb-shell -n "__fish_seen_subcommand_from install" -a "(path basename -E *.io 2>/dev/null)"
complete -c vexloweb-shell -n "__fish_seen_subcommand_from uninstall" -l purge -d 'Also remove its data'
complete -c vexloweb-shell -n "__fish_seen_subcommand_from uninstall" -a "(vexloweb-shell list 2>/dev/null | string split -f1,2 \t)"
