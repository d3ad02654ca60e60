ZGVmZ2hpamtsbW5vcHFycw==
