#!/usr/bin/env python3
"""Re-creates the bad-input corpus in this folder: one file per fault, sealed with the openssl
command line (an implementation of the envelope independent of the library). The outcome each
file must give is the table in tests/loader/bad_input_test.cpp. Run from this folder."""
import base64
import os
import subprocess

KEY = b"7b1e40c9a3f85d26e0b94c1f3a7d2e58".hex()
IV = b"c30f8a61d2b4e975".hex()


def encrypt(plain: bytes, key: str = KEY, iv: str = IV) -> bytes:
    cipher = "-aes-256-cbc" if len(key) == 64 else "-aes-128-cbc"
    return subprocess.run(["openssl", "enc", cipher, "-K", key, "-iv", iv],
                          input=plain, capture_output=True, check=True).stdout


def seal_inner(inner: bytes, **keys) -> bytes:
    return base64.b64encode(encrypt(inner, **keys)) + b"\n"


def seal(document: bytes, **keys) -> bytes:
    return seal_inner(base64.b64encode(document), **keys)


def write(name: str, content: bytes) -> None:
    with open(name + ".io", "wb") as out:
        out.write(content)


good = seal(b'{"package_name":"good","theme_color":"SOLID_2"}')
good_text = good.strip()
cipher = base64.b64decode(good_text)
inner = base64.b64encode(b'{"package_name":"good","theme_color":"SOLID_2"}')

# The file and its text.
write("empty", b"")
write("only_whitespace", b" \r\n\t \n")
write("not_utf8", b"\xff\xfe" + good_text)
write("utf8_overlong", good_text[:8] + b"\xc0\xaf" + good_text[8:])
write("utf8_surrogate", good_text[:8] + b"\xed\xa0\x80" + good_text[8:])
write("nul_byte", good_text[:8] + b"\x00" + good_text[8:])
# The outer base64.
write("wrapped_lines", b"\n".join(good_text[i:i + 64] for i in range(0, len(good_text), 64)))
write("crlf_wrapped", b"\r\n".join(good_text[i:i + 76] for i in range(0, len(good_text), 76)))
write("inner_space", good_text[:20] + b" " + good_text[20:])
write("nbsp_inside", good_text[:20] + "\u00a0".encode() + good_text[20:])
write("urlsafe_alphabet", base64.urlsafe_b64encode(cipher).replace(b"=", b"") + b"-_\n")
write("bad_character", good_text[:10] + b"*" + good_text[11:])
write("truncated_base64", good_text[:-3])
write("padding_inside", good_text[:8] + b"====" + good_text[8:])
write("too_much_padding", good_text + b"A===")
# The cipher.
write("part_block", base64.b64encode(cipher[:-3]) + b"\n")
write("truncated_whole_blocks", base64.b64encode(cipher[:-16]) + b"\n")
write("extra_block", base64.b64encode(cipher + bytes(range(16))) + b"\n")
write("garbage_block", base64.b64encode(bytes(range(100, 116))) + b"\n")
write("wrong_key", seal(b'{"package_name":"x"}', key=(b"f" * 32).hex()))
write("wrong_iv", seal(b'{"package_name":"x"}', iv=(b"0" * 16).hex()))
write("aes128_key", seal(b'{"package_name":"x"}', key=(b"0123456789abcdef").hex()))
flipped_first = bytearray(cipher)
flipped_first[3] ^= 0x10
write("bit_flip_first_block", base64.b64encode(bytes(flipped_first)) + b"\n")
flipped_last = bytearray(cipher)
flipped_last[-1] ^= 0x01
write("bit_flip_last_block", base64.b64encode(bytes(flipped_last)) + b"\n")
# The decrypted text.
write("decrypted_not_utf8", seal_inner(b"\xff\xfe\xfd"))
write("decrypted_not_utf8_after_base64", seal_inner(b"Zm9vYmFy\xc3"))
write("inner_not_base64", seal_inner(b"hello world"))
write("inner_wrapped", seal_inner(base64.encodebytes(b'{"about_text":"' + b"x" * 100 + b'"}')))
write("inner_truncated", seal_inner(inner[:-1]))
write("inner_padding_inside", seal_inner(b"e30=e30="))
write("document_not_utf8", seal(b'{"about_text":"\xc3"}'))
# The document.
write("doc_empty", seal(b""))
write("doc_syntax", seal(b'{"a":1,}'))
write("doc_top_level_array", seal(b"[]"))
write("doc_top_level_string", seal(b'"{}"'))
write("doc_int_fraction", seal(b'{"no_internet_interval":2.5}'))
write("doc_int_overflow", seal(b'{"admob_delay":9223372036854775808}'))
write("doc_string_for_switch", seal(b'{"file_upload":"true"}'))
write("doc_number_for_switch", seal(b'{"file_upload":1}'))
write("doc_number_for_text", seal(b'{"package_name":7}'))
write("doc_text_for_number", seal(b'{"loader_int_time":"2"}'))
write("doc_object_for_list", seal(b'{"menus":{}}'))
write("doc_null_element", seal(b'{"menus":[null]}'))
write("doc_nested_wrong_type", seal(b'{"tabs":[{"menu":"a"},{"menu":false}]}'))
write("doc_nesting_10000", seal(b'{"menus":' + b"[" * 10000 + b"]" * 10000 + b"}"))
write("doc_raw_nul", seal(b'{"package_name":"a\x00b"}'))
write("doc_lone_surrogate", seal(b'{"about_text":"\\ud800"}'))
write("doc_number_too_big", seal(b'{"loader_int_time":1e400}'))
write("doc_trailing_garbage", seal(b'{} x'))
# Faults that load all the same.
write("ok_nul_in_key", seal(b'{"package_name\\u0000":5,"package_name":"kept"}'))
write("ok_duplicate_bad_second", seal(b'{"theme_color":"SOLID_1","theme_color":5}'))
write("ok_quoted_with_spaces", b'\n\t "' + good_text[:30] + b'""' + good_text[30:] + b'" \n')
