#!/usr/bin/python3
"""Size of the crossword page and time from load to first paint in headless Chromium.

    /usr/bin/python3 bench/htmlpaint.py build/default/src/tool/kvarcella-tool FILE.crs... \
        [--runs N] [--against OTHER_TOOL] [--screenshots DIR]

Each page is opened N times from file:// in one browser; the script prints the
median and the spread of first paint, first contentful paint and the end of the
load event, all counted from the start of navigation. With --against, the page
that another build of the tool writes (say, of the main branch) is measured in
the same browser, its loads taking turns with this one's, so that both see the
same machine load. With --screenshots it also
saves desktop (1280 x 800) and phone (360 x 640) pictures of each page: fresh,
with the keyboard open and after a check.
"""
import argparse
import pathlib
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent.parent / "tests/export/html"))
import browser  # noqa: E402

# Paint entries appear only once the frame is painted, after the script may run.
TIMES = r"""
const done = arguments[arguments.length - 1];
const read = () => {
  const paint = Object.fromEntries(performance.getEntriesByType('paint')
    .map((e) => [e.name, e.startTime]));
  const navigation = performance.getEntriesByType('navigation')[0];
  if (paint['first-contentful-paint'] === undefined || !navigation.loadEventEnd) {
    setTimeout(read, 5);
    return;
  }
  done([paint['first-paint'], paint['first-contentful-paint'], navigation.loadEventEnd]);
};
read();
"""


def load(driver, page):
    driver.get("about:blank")
    driver.get(page.as_uri())
    driver.execute_script("localStorage.clear()")
    return driver.execute_async_script(TIMES)


def measure(driver, pages, runs):
    """Per page, the lists of first paint, first contentful paint and load end."""
    samples = [[] for _ in pages]
    for run in range(runs):
        # Each page first in turn, so that neither always follows the other.
        order = list(range(len(pages)))
        if run % 2:
            order.reverse()
        for i in order:
            samples[i].append(load(driver, pages[i]))
    return [list(zip(*s)) for s in samples]


def screenshots(driver, page, folder):
    for name, width, height, mobile in (("desktop", 1280, 800, False),
                                        ("phone", 360, 640, True)):
        browser.set_viewport(driver, width, height, mobile)
        driver.get(page.as_uri())
        driver.execute_script("localStorage.clear()")
        driver.refresh()
        shot = f"{folder}/{page.stem}-{name}"
        driver.save_screenshot(shot + "-fresh.png")
        cells = driver.find_elements("css selector", ".cell")
        cells[0].click()
        # Letters move on through the word while the keyboard stays open.
        for key in (1, 12, 15, 19, 6, 33):
            if driver.find_element("css selector", "#keyboard").is_displayed():
                driver.find_element("css selector", f'.key[data-key="{key}"]').click()
        if driver.find_element("css selector", "#keyboard").is_displayed():
            driver.find_element("css selector", '.key[data-key="34"]').click()
        cells[len(cells) // 2].click()
        driver.save_screenshot(shot + "-keyboard.png")
        driver.find_element("css selector", '.key[data-key="34"]').click()
        driver.find_element("css selector", "#finish").click()
        driver.save_screenshot(shot + "-checked.png")
        driver.execute_script("window.scrollTo(0, document.body.scrollHeight)")
        driver.save_screenshot(shot + "-checked-end.png")
        driver.execute_script("localStorage.clear()")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("tool")
    parser.add_argument("crosswords", nargs="+")
    parser.add_argument("--runs", type=int, default=21)
    parser.add_argument("--against")
    parser.add_argument("--screenshots")
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder, browser.chromium(1280, 800) as driver:
        tools = [("", args.tool)] + ([("against", args.against)] if args.against else [])
        for crs in map(pathlib.Path, args.crosswords):
            pages = []
            for name, tool in tools:
                page = pathlib.Path(folder) / (crs.stem + (name and "-" + name) + ".html")
                subprocess.run([tool, "html", str(crs), "-o", str(page)], check=True,
                               capture_output=True)
                pages.append(page)
            for (name, tool), page, times in zip(tools, pages,
                                                 measure(driver, pages, args.runs)):
                print(f"{crs.name}{name and ' (' + tool + ')'}: page {page.stat().st_size} bytes")
                for what, values in zip(("first paint", "first contentful paint", "load end"),
                                        times):
                    print(f"  {what}: median {statistics.median(values):.1f} ms"
                          f" ({min(values):.1f}-{max(values):.1f} ms, {args.runs} loads)")
            page = pages[0]
            if args.screenshots:
                screenshots(driver, page, args.screenshots)


if __name__ == "__main__":
    main()
