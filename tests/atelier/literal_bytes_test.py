"""The code compiled to WebAssembly for the browser's editor (and the page)
writes its strings in bytes that do not depend on the compiler: g++ turns a
plain literal's "é" into Windows-1252 (-fexec-charset), clang and emscripten
into UTF-8. So a plain literal there holds ASCII only, Windows-1252 bytes
written as escapes ("r\\xE9ponse"); u8"..." is UTF-8 everywhere.
The fuzz targets too, which clang compiles, and g++ for their seed replays.
  literal_bytes_test.py FOLDER_OR_FILE...   (a folder's .h and .cpp files)"""
import glob
import os
import re
import sys

# Comments, raw strings, character and string literals with their prefix, in source order.
TOKENS = re.compile(r'//[^\n]*|/\*.*?\*/|(?P<prefix>(?:u8|u|U|L)?R?)"(?P<body>(?:\\.|[^"\\\n])*)"'
                    r"|'(?:\\.|[^'\\\n])*'", re.S)


def plain_literals_with_other_bytes(text):
    """(line, literal) of each plain literal holding a character past ASCII."""
    found = []
    for match in TOKENS.finditer(text):
        body = match.group('body')
        if body is None or match.group('prefix') or body.isascii():
            continue
        found.append((text.count('\n', 0, match.start()) + 1, body))
    return found


def main(folders):
    self_check = plain_literals_with_other_bytes('// "é"\nconst char* a = u8"é", *b = "\\xE9";\nx("é");')
    assert self_check == [(3, 'é')], self_check  # the scan itself finds what it must, and only that
    failures = []
    for folder in folders:
        paths = [folder] if os.path.isfile(folder) else glob.glob(os.path.join(folder, '*.h')) + glob.glob(
            os.path.join(folder, '*.cpp'))
        for path in sorted(paths):
            with open(path, encoding='utf-8') as file:
                failures += ['%s:%d: "%s"' % (path, line, body) for line, body in plain_literals_with_other_bytes(file.read())]
    for failure in failures:
        print(failure)
    print('%d plain literal(s) whose bytes depend on the compiler' % len(failures))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
