#!/usr/bin/env bash
# Re-creates aes_cbc.tsv with the openssl command-line tool, an implementation independent of
# the library's: AES-CBC known answers for each key size, padded and not. Bytes are written as
# \xHH, which the tests' table reader turns back into bytes.
set -euo pipefail
cd "$(dirname "$0")"
escaped() { od -An -v -tx1 | tr -d ' \n' | sed 's/../\\x&/g'; }  # bytes on standard input
unhex() { printf '%s' "$1" | xxd -r -p | escaped; }                 # bytes given in hex
{
  echo "# key	iv	plain text	cipher text	padding (made by make_aes_cbc.sh)"
  # NIST SP 800-38A, F.2.1 (CBC-AES128.Encrypt), first block: no padding.
  printf '%s\t%s\t' "$(unhex 2b7e151628aed2a6abf7158809cf4f3c)" "$(unhex 000102030405060708090a0b0c0d0e0f)"
  printf '%s\t%s\tnone\n' "$(unhex 6bc1bee22e409f96e93d7e117393172a)" "$(unhex 7649abac8119b246cee98e9b12e9197d)"
  iv=000102030405060708090a0b0c0d0e0f
  for bits in 128 192 256; do
    key=$(head -c $((bits / 8)) /dev/zero | tr '\0' 'k' | od -An -v -tx1 | tr -d ' \n')
    for n in 0 1 15 16 17 100; do
      plain=$(head -c "$n" /dev/zero | tr '\0' 'p' | escaped)
      cipher=$(head -c "$n" /dev/zero | tr '\0' 'p' | openssl enc -aes-$bits-cbc -K "$key" -iv "$iv" | escaped)
      printf '%s\t%s\t%s\t%s\tpkcs7\n' "$(unhex "$key")" "$(unhex "$iv")" "$plain" "$cipher"
    done
  done
} >aes_cbc.tsv
