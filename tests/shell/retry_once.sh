#!/bin/sh
# Runs one WebKit end-to-end set, and once more when it fails. On two busy cores WebKit's own
# timing varies from run to run (how long its processes take to come up, when a script's
# download starts); a fault fails both runs, and the first run's output stays in the log.
"$@" && exit 0
echo "retry_once: the first run failed; running it once more" >&2
exec "$@"
