#!/usr/bin/env python3
"""Makes the page in one file, which runs when opened from a file as well as served.

usage: standalone.py PAGE_FOLDER OUTPUT

PAGE_FOLDER holds the page as built. Browsers refuse a page opened from a file the fetch of its
module's binary, but not what is written into the page. So every file the page names is
written into it: the style sheet and the scripts as elements, the icon as a data: address, and
the module's binary, in base64, as a data block (a script element of a type no browser runs),
which the page script compiles in place of fetching vurazevedadar.wasm.

The page's Content-Security-Policy keeps its strictness: the two scripts and the style sheet
are allowed by their SHA-256 hashes and nothing else runs, neither an injected script nor an
attribute handler; compiling the binary needs 'wasm-unsafe-eval', as on the served page; and
the page connects nowhere (no connect-src at all).
"""
import base64
import hashlib
import os
import sys

POLICY = ("default-src 'none'; script-src %s 'wasm-unsafe-eval'; style-src %s; img-src data:; "
          "base-uri 'none'; form-action 'none'")


def digest(text):
    return "'sha256-%s'" % base64.b64encode(hashlib.sha256(text.encode()).digest()).decode()


def inline_text(text, name):
    # Inside a script or style element, only these would end it early or change how it parses.
    for bad in ("</script", "</style", "<!--"):
        if bad in text.lower():
            raise ValueError("%s contains %r and cannot be written into the page" % (name, bad))
    return text


def replace_once(page, old, new):
    if page.count(old) != 1:
        raise ValueError("the page does not have exactly one %r" % old)
    return page.replace(old, new)


def main(argv):
    folder, output = argv

    def read(name):
        with open(os.path.join(folder, name), encoding="utf-8") as f:
            return f.read()

    page = read("vurazevedadar.html")
    style = inline_text(read("vurazevedadar.css"), "vurazevedadar.css")
    page_script = inline_text(read("vurazevedadar-page.js"), "vurazevedadar-page.js")
    module = inline_text(read("vurazevedadar.js"), "vurazevedadar.js")

    def encoded(name):
        with open(os.path.join(folder, name), "rb") as f:
            return base64.b64encode(f.read()).decode()

    icon = "data:image/png;base64," + encoded("vurazevedadar.png")
    binary = '<script type="application/wasm" id="module-binary">%s</script>\n' % encoded(
        "vurazevedadar.wasm")

    start = page.index('content="', page.index('http-equiv="Content-Security-Policy"'))
    end = page.index('"', start + len('content="'))
    policy = POLICY % (digest(page_script) + " " + digest(module), digest(style))
    page = page[:start] + 'content="' + policy + page[end:]
    page = replace_once(page, '<link rel="stylesheet" href="vurazevedadar.css">',
                        "<style>" + style + "</style>")
    page = replace_once(page, 'href="vurazevedadar.png"', 'href="' + icon + '"')
    page = replace_once(page, '<script src="vurazevedadar-page.js"></script>',
                        binary + "<script>" + page_script + "</script>")
    page = replace_once(page, '<script src="vurazevedadar.js"></script>',
                        "<script>" + module + "</script>")
    with open(output + ".part", "w", encoding="utf-8") as f:
        f.write(page)
    os.replace(output + ".part", output)
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main(sys.argv[1:]))
    except (OSError, ValueError) as error:
        print("standalone.py: %s" % error, file=sys.stderr)
        sys.exit(1)
