#!/usr/bin/env bash
# Re-creates aes_cbc.tsv with the openssl command-line tool, an implementation independent of
# the library's: AES-CBC known answers for each key size, padded and not.
set -euo pipefail
cd "$(dirname "$0")"
hex() { od -An -v -tx1 | tr -d ' \n'; }
{
  echo "# key	iv	plain text	cipher text	padding (all hex; made by make_aes_cbc.sh with openssl)"
  # NIST SP 800-38A, F.2.1 (CBC-AES128.Encrypt), first block: no padding.
  printf '2b7e151628aed2a6abf7158809cf4f3c\t000102030405060708090a0b0c0d0e0f\t'
  printf '6bc1bee22e409f96e93d7e117393172a\t7649abac8119b246cee98e9b12e9197d\tnone\n'
  iv=000102030405060708090a0b0c0d0e0f
  for bits in 128 192 256; do
    key=$(head -c $((bits / 8)) /dev/zero | tr '\0' 'k' | hex)
    for n in 0 1 15 16 17 100; do
      plain=$(head -c "$n" /dev/zero | tr '\0' 'p' | hex)
      cipher=$(head -c "$n" /dev/zero | tr '\0' 'p' | openssl enc -aes-$bits-cbc -K "$key" -iv "$iv" | hex)
      printf '%s\t%s\t%s\t%s\tpkcs7\n' "$key" "$iv" "$plain" "$cipher"
    done
  done
} >aes_cbc.tsv
