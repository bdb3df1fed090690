#!/usr/bin/env python3
"""Writes the seed corpus for crosswordreaderfuzzer into fuzz/corpus/."""
from pathlib import Path

CORPUS = Path(__file__).resolve().parent / "corpus"
CELLS = 400


def cp1251(text: str) -> bytes:
    return text.encode("cp1251")


def record(letter: str = "", number: str = "") -> bytes:
    return b'"' + cp1251(letter) + b'","' + cp1251(number) + b'"\r\n'


def records(count: int) -> bytes:
    return record() * count


def seeds() -> dict[str, bytes]:
    example = (record() + record("к", "1") + record("о") + record("т") + records(CELLS - 4)
               + cp1251("По горизонтали:\r\n1. Домашнее животное.\r\n"))

    # What a hand-editor or another program might leave: unquoted values with
    # blanks and leading zeros, junk after a closing quote, a comma inside
    # quotes, blank lines between records, bare LF and bare CR line ends.
    hand_edited = (cp1251("к,05\r\n"
                          "  \"о\"ju\"nk,\"1\"\r\n"
                          "\r\n"
                          "   \r\n"
                          "т , 7 \n"
                          "\"a,b\",\"x\"\r"
                          "\"л\",12\r\n")
                   + records(CELLS - 5)
                   + cp1251("первая\nвторая\rтретья\r\n\r\n"))

    # 0x98 is the one byte that Windows-1251 leaves unassigned.
    odd_bytes = (b'"\x98","\x00"\r\n' + b'\x00,\x98\r\n' + records(CELLS - 2)
                 + b"\x98\x00\r\n\x00\r\n")

    # An unquoted value may hold a double quote, which a quoted value cannot;
    # whatever the reader makes of it must survive saving.
    unquoted_quote = cp1251('в"л,""\r\n') + records(CELLS - 1) + b"\r\n"

    # Saved by a Linux text editor: UTF-8, once with a byte order mark. The
    # reader takes it as UTF-8; the writer saves Windows-1251.
    utf8 = ('"к","1"\r\n"ё",""\r\n'.encode() + records(CELLS - 2)
            + "«Ёлка» — 1. Кот №1\r\n".encode())

    # Windows-1251 bytes that happen to be valid UTF-8 ("С»"), with no letter
    # in the grid to tell them apart.
    lookalike = records(CELLS) + cp1251("1. С»\r\n")

    # A crossword saved as "Unicode" by Notepad, and a file with more control
    # bytes than lines: both are refused rather than read as nonsense.
    utf16 = example.decode("cp1251").encode("utf-16")
    binary = b"\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR" * 60

    return {
        "utf16.crs": utf16,
        "binary.crs": binary,
        "utf8.crs": utf8,
        "utf8bom.crs": b"\xef\xbb\xbf" + utf8,
        "utf8lookalike.crs": lookalike,
        "empty.crs": records(CELLS) + b"\r\n",
        "example.crs": example,
        "truncated.crs": records(CELLS - 1),
        "handedited.crs": hand_edited,
        "oddbytes.crs": odd_bytes,
        "unquotedquote.crs": unquoted_quote,
    }


def main() -> None:
    CORPUS.mkdir(exist_ok=True)
    for name, data in seeds().items():
        (CORPUS / name).write_bytes(data)


if __name__ == "__main__":
    main()
