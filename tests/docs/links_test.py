"""Every relative link and picture of the Markdown pages leads somewhere: the
file or folder exists, and an #anchor names a heading of its page, spelt as
GitHub spells a heading's anchor (lower case, spaces to '-', punctuation
dropped, accents kept; a repeated heading gets -1, -2...).
  links_test.py ROOT   (checks ROOT/README.md and ROOT/docs/*.md)"""
import glob
import os
import re
import sys
import tempfile
import unicodedata
from urllib.parse import unquote

FENCE = re.compile(r'^\s*(```|~~~)')
HEADING = re.compile(r'^#{1,6}\s+(.*?)\s*#*\s*$')
# A code span may run over lines, never over a blank one.
CODE_SPAN = re.compile(r'(`+)((?:(?!\n[ \t]*\n).)+?)\1', re.S)
LINK = re.compile(r'!?\[(?:[^\[\]]|\[[^\]]*\])*\]\(\s*<?([^)\s>]*)>?(?:\s+"[^"]*")?\s*\)')
REFERENCE = re.compile(r'^\s{0,3}\[[^\]]+\]:\s*<?(\S+?)>?(?:\s+"[^"]*")?\s*$')
SCHEME = re.compile(r'^(?:[a-zA-Z][a-zA-Z0-9+.-]*:|//)')


def prose_lines(text):
    """(number, line) of the lines outside fenced code blocks."""
    fenced = None
    for number, line in enumerate(text.split('\n'), 1):
        fence = FENCE.match(line)
        if fence and (fenced is None or fence.group(1) == fenced):
            fenced = fence.group(1) if fenced is None else None
        elif fenced is None:
            yield number, line


def slug(heading):
    """GitHub's anchor of a heading: its text without markup, lower case, only
    letters, marks, digits, '_', '-' and spaces kept, spaces made '-'."""
    text = CODE_SPAN.sub(lambda m: m.group(2), heading)
    text = re.sub(r'!?\[([^\]]*)\]\([^)]*\)', r'\1', text).replace('*', '')
    kept = (c for c in text.lower()
            if c in ' -_' or unicodedata.category(c)[0] in 'LMN')
    return ''.join(kept).replace(' ', '-')


def anchors(text):
    """The anchors of a page's headings."""
    found, seen = set(), {}
    for _, line in prose_lines(text):
        heading = HEADING.match(line)
        if heading:
            base = slug(heading.group(1))
            count = seen.get(base, 0)
            seen[base] = count + 1
            found.add(base if count == 0 else '%s-%d' % (base, count))
    return found


def targets(text):
    """(line, target) of every link, picture and reference outside code."""
    lines = [''] * (text.count('\n') + 1)
    for number, line in prose_lines(text):
        lines[number - 1] = line
    prose = CODE_SPAN.sub(lambda m: '\n' * m.group(0).count('\n'), '\n'.join(lines))
    for number, line in enumerate(prose.split('\n'), 1):
        for match in LINK.finditer(line):
            yield number, match.group(1)
        reference = REFERENCE.match(line)
        if reference:
            yield number, reference.group(1)


def dead_links(root, pages):
    """('page:line: target: why' of each link that leads nowhere, links seen)."""
    dead, headings, count = [], {}, 0

    def anchors_of(path):
        if path not in headings:
            with open(path, encoding='utf-8') as f:
                headings[path] = anchors(f.read())
        return headings[path]

    for page in pages:
        path = os.path.join(root, page)
        with open(path, encoding='utf-8') as f:
            text = f.read()
        for number, target in targets(text):
            count += 1
            if SCHEME.match(target):
                continue
            file_part, _, anchor = target.partition('#')
            destination = os.path.normpath(os.path.join(os.path.dirname(path), unquote(file_part))) if file_part else path
            where = '%s:%d: %s' % (page, number, target)
            if not os.path.exists(destination):
                dead.append(where + ': no such file')
            elif anchor and not destination.endswith('.md'):
                dead.append(where + ': an anchor in a page without headings')
            elif anchor and unquote(anchor) not in anchors_of(destination):
                dead.append(where + ': no such heading')
    return dead, count


def self_check():
    """The checker finds each kind of dead link on a page made for it."""
    page = ('# Écrire un quiz\n## Les limites, vérifiées par `check`\n## Deux\n## Deux\n'
            '[a](#écrire-un-quiz) [b](#les-limites-vérifiées-par-check) [c](#deux-1) [d](p.md#deux)\n'
            '![e](absent.png) [f](#deux-2) [g](p.md#absente) [h](https://x.org/y) `[i](absent)`\n'
            '```\n[j](absent)\n```\n[k]: other.md\n`a\n[l](absent)` [m](gone.md)\n')
    with tempfile.TemporaryDirectory() as root:
        with open(os.path.join(root, 'p.md'), 'w', encoding='utf-8') as f:
            f.write(page)
        found, _ = dead_links(root, ['p.md'])
    expected = ['p.md:6: absent.png: no such file', 'p.md:6: #deux-2: no such heading',
                'p.md:6: p.md#absente: no such heading', 'p.md:10: other.md: no such file',
                'p.md:12: gone.md: no such file']
    if found != expected:
        sys.exit('the checker itself is wrong: %s' % found)


def main(root):
    self_check()
    pages = ['README.md'] + sorted(os.path.relpath(p, root) for p in glob.glob(os.path.join(root, 'docs', '*.md')))
    dead, count = dead_links(root, pages)
    if count == 0:
        sys.exit('no link found in %s' % ' '.join(pages))
    for line in dead:
        print(line)
    print('%d links in %d pages, %d dead' % (count, len(pages), len(dead)))
    return 1 if dead else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
