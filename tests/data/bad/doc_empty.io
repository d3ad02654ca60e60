j+ms63tchM40+XPmTc6/HA==
