#!/usr/bin/python3
"""Every picture and every relative link that README.md and docs/*.md name must exist,
inside the source tree, and a link to a heading of a Markdown page must find it.

    linkcheck.py SOURCE_DIR

Links are Markdown's [text](target) and ![alt](target), reference definitions
[name]: target, and HTML's src="..." and href="..."; text in code spans and code
blocks is not read. Addresses with a scheme (https:, mailto:) are not fetched.
"""
import pathlib
import re
import sys
import urllib.parse

INLINE = re.compile(r"!?\[(?:[^\[\]]|\[[^\[\]]*\])*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
DEFINITION = re.compile(r"^\s{0,3}\[[^\]]+\]:\s*<?(\S+?)>?(?:\s|$)", re.M)
HTML = re.compile(r"<(?:img|a|source)\b[^>]*?\b(?:src|href)\s*=\s*[\"']([^\"']+)[\"']", re.I)
HEADING = re.compile(r"^#{1,6}\s+(.*?)\s*#*\s*$", re.M)


def without_code_blocks(text):
    """The text with fenced and indented code blocks blanked, line for line."""
    out, fenced, in_block, previous_blank = [], False, False, True
    for line in text.split("\n"):
        if re.match(r" {0,3}(```|~~~)", line):
            fenced = not fenced
            out.append("")
            continue
        in_block = (line.startswith(("    ", "\t")) and (previous_blank or in_block)
                    and bool(line.strip()))
        out.append("" if fenced or in_block else line)
        previous_blank = not line.strip()
    return "\n".join(out)


def prose(text):
    """The text without code blocks and code spans, line ends kept."""
    return re.sub(r"(`+)(.+?)\1", lambda m: "\n" * m.group(0).count("\n"),
                  without_code_blocks(text), flags=re.S)


def anchors(page):
    """The ids that GitHub gives the headings of a Markdown page."""
    seen, ids = {}, set()
    for heading in HEADING.findall(without_code_blocks(page.read_text(encoding="utf-8"))):
        slug = re.sub(r"[^\w\- ]", "", heading.replace("`", "").lower()).replace(" ", "-")
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        ids.add(slug if count == 0 else f"{slug}-{count}")
    return ids


def targets(text):
    body = prose(text)
    for pattern in (INLINE, DEFINITION, HTML):
        for match in pattern.finditer(body):
            yield body.count("\n", 0, match.start()) + 1, match.group(1)


def check(root, page):
    problems, found = [], 0
    for line, target in targets(page.read_text(encoding="utf-8")):
        where = f"{page.relative_to(root)}:{line}: {target}"
        if re.match(r"[a-z][a-z0-9+.-]*:", target, re.I):
            continue
        found += 1
        path, _, fragment = urllib.parse.unquote(target).partition("#")
        path = path.split("?")[0]
        resolved = (page.parent / path).resolve() if path else page.resolve()
        if root != resolved and root not in resolved.parents:
            problems.append(f"{where}: points outside the source tree")
        elif not resolved.exists():
            problems.append(f"{where}: no such file or folder")
        elif fragment and resolved.suffix == ".md" and fragment not in anchors(resolved):
            problems.append(f"{where}: no heading #{fragment} in {resolved.name}")
    return problems, found


def main():
    root = pathlib.Path(sys.argv[1]).resolve()
    pages = [root / "README.md", *sorted((root / "docs").glob("*.md"))]
    problems, found = [], 0
    for page in pages:
        page_problems, page_found = check(root, page)
        problems += page_problems
        found += page_found
    # A parser that reads nothing would pass every time.
    readme = prose((root / "README.md").read_text(encoding="utf-8"))
    if not re.search(r"docs/images/\S+\.png", readme) or len(pages) < 2 or found < len(pages):
        problems.append("README.md names no picture, or docs/ has no page: nothing was checked")
    for problem in problems:
        print(problem)
    print(f"{len(pages)} pages, {found} relative links and pictures, {len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
