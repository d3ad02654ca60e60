#!/usr/bin/env bash
# Re-creates the fixtures in this folder with the openssl and base64 command-line tools, an
# implementation of the envelope independent of the library. Run from this folder.
set -euo pipefail
hex() { printf %s "$1" | xxd -p -c 256; }
KEY=$(hex 7b1e40c9a3f85d26e0b94c1f3a7d2e58)   # the loader's key text, as bytes
IV=$(hex c30f8a61d2b4e975)                     # the loader's IV text, as bytes
DOC=../../../examples/example.json

# The example document: inner base64 on one line, outer base64 on one line (-A).
base64 -w0 "$DOC" | openssl enc -aes-256-cbc -K "$KEY" -iv "$IV" -a -A > example.io
echo >> example.io
# The same text inside double quotation marks, with blank lines around it.
{ printf '\n  "'; tr -d '\n' < example.io; printf '"\n\n'; } > quoted.io
# Outer base64 broken into 64-character lines (openssl's default without -A).
base64 -w0 "$DOC" | openssl enc -aes-256-cbc -K "$KEY" -iv "$IV" -a > wrapped.io
# Inner base64 broken into 76-character lines (base64's default).
base64 "$DOC" | openssl enc -aes-256-cbc -K "$KEY" -iv "$IV" -a -A > inner_wrapped.io
# Sealed under a 16-character key (AES-128) with the loader's IV.
printf '{"package_name":"aes128"}' | base64 -w0 |
  openssl enc -aes-128-cbc -K "$(hex 0123456789abcdef)" -iv "$IV" -a -A > aes128.io
# Sealed under another 32-character key.
printf '{"package_name":"other key"}' | base64 -w0 |
  openssl enc -aes-256-cbc -K "$(hex 00000000000000000000000000000000)" -iv "$IV" -a -A \
  > other_key.io
