#!/usr/bin/python3
"""The web view of `gaugery serve` in a real browser: headless Chromium driven through
its WebDriver. Usage: web-view-test.py GAUGERY [--screenshot | --screenshot-log FILE [WIDTHxHEIGHT [SCHEME]]]

Starts a server on a free loopback port and checks, each in a bounded time: the page
loads with no console error and asks no other host; the chart draws the values
/api/values gives for the same times; the add-counter box charts a counter; the process
table lists the server with its process id, sorts and filters; the page fits a phone's
width in the light and the dark scheme; an address with counters opens them; the chart zooms and returns to the live view; replaying a recorded log, the page shows the log's
whole range and a click on the chart shows the process table at that time. Exits 77
(skipped) without Selenium or Chromium. With --screenshot, renders
the default view over one minute, after half a minute of samples, into FILE instead:
the whole page at a width of 1280 (or WIDTH), in the browser's scheme unless SCHEME is
light or dark; with --screenshot-log, a log of half a minute recorded first, shown whole
with the process table two thirds into it.
"""

import json
import os
import re
import subprocess
import sys
import tempfile
import time
import urllib.parse
import urllib.request

SKIPPED = 77
# Each wait gives up after this; the whole run stays well under a minute.
WAIT_SECONDS = 20

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.by import By
    from selenium.webdriver.common.keys import Keys
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("skipped: python3-selenium is not installed")
    sys.exit(SKIPPED)

CHROMIUM = "/usr/bin/chromium"
DRIVER = "/usr/bin/chromedriver"
CPU_PATH = "\\Processor(_Total)\\% Processor Time"
MEMORY_PATH = "\\Memory\\Available Bytes"


class Server:
    """`gaugery serve` on a free port, at an interval short enough for quick tests."""

    def __init__(self, program, *options, replay=None):
        before = ["--replay", replay] if replay else []
        self.process = subprocess.Popen(
            [program, *before, "serve", "--listen", "127.0.0.1:0", "--interval", "0.5", *options],
            stdout=subprocess.PIPE, text=True)
        line = self.process.stdout.readline()
        found = re.search(r"http://(\S+)/", line)
        if not found:
            self.stop()
            raise RuntimeError("the server did not say where it listens: " + line)
        self.base = "http://" + found.group(1)

    def get_json(self, path):
        with urllib.request.urlopen(self.base + path, timeout=WAIT_SECONDS) as answer:
            return json.load(answer)

    def stop(self):
        self.process.terminate()
        self.process.wait(timeout=WAIT_SECONDS)


def browser(width=1280, height=800):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-extensions",
                     "--disable-background-networking", "--disable-component-update",
                     "--no-first-run", "--disable-sync", "--disable-default-apps",
                     "--window-size=%d,%d" % (width, height)):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL", "performance": "ALL"})
    return webdriver.Chrome(service=Service(DRIVER), options=options)


def wait_for(driver, condition, what):
    return WebDriverWait(driver, WAIT_SECONDS).until(lambda _: condition(), message=what)


def requested_urls(driver):
    urls = []
    for entry in driver.get_log("performance"):
        message = json.loads(entry["message"])["message"]
        if message["method"] == "Network.requestWillBeSent":
            urls.append(message["params"]["request"]["url"])
    return urls


def drawn_series(driver, key):
    return driver.execute_script(
        "return window.gaugery.chart.drawnPoints().find(s => s.key === arguments[0]) || null;", key)


class Checks:
    def __init__(self, server, driver):
        self.server = server
        self.driver = driver
        self.failures = []

    def check(self, condition, message):
        if not condition:
            self.failures.append(message)
            print("FAILED: " + message)

    def page_loads_cleanly(self):
        self.driver.get(self.server.base + "/")
        wait_for(self.driver, lambda: self.driver.find_elements(By.CSS_SELECTOR, "#legend tbody tr"),
                 "the legend lists the default counters")
        counters = self.driver.execute_script("return window.gaugery.view.counters;")
        self.check(CPU_PATH in counters and MEMORY_PATH in counters,
                   "the default view holds the processor time and the available memory: %s" % counters)
        wait_for(self.driver, lambda: len((drawn_series(self.driver, CPU_PATH) or {}).get("points", [])) >= 2,
                 "the chart draws two points of the processor time")
        errors = [entry for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]
        self.check(not errors, "no console error: %s" % errors)
        others = [url for url in requested_urls(self.driver) if not url.startswith(self.server.base + "/")]
        self.check(not others, "no request to another host: %s" % others)

    def chart_shows_served_values(self):
        drawn = drawn_series(self.driver, CPU_PATH)["points"]
        answer = self.server.get_json("/api/values?" + urllib.parse.urlencode({"counter": CPU_PATH}))
        served = {point[0]: point[1] for point in answer["counters"][0]["series"][0]["points"]}
        shared = [point for point in drawn if point[0] in served]
        self.check(len(shared) >= 2, "the chart's times are the served times: %s" % drawn)
        self.check(all(served[t] == v for t, v in shared),
                   "the chart draws the served values: %s against %s" % (shared, served))

    def chart_zooms_and_returns_to_live(self):
        span = lambda: self.driver.execute_script("return gaugery.chart.end - gaugery.chart.start;")
        live = self.driver.find_element(By.ID, "live")
        before = span()
        chart = self.driver.find_element(By.ID, "chart")
        chart.send_keys("+")
        self.check(span() < before and live.is_displayed(),
                   "+ on the chart zooms in and offers the way back: %s of %s" % (span(), before))
        chart.send_keys(Keys.HOME)
        self.check(span() == before and not live.is_displayed(), "Home follows the samples again")

    def box_adds_a_counter(self):
        path = "\\Process(_Total)\\Thread Count"
        box = self.driver.find_element(By.ID, "counter-box")
        box.click()
        box.send_keys("\\Proc")
        wait_for(self.driver, lambda: self.driver.find_elements(By.CSS_SELECTOR, "#completions option"),
                 "the box offers completions")
        offered = [option.get_attribute("value")
                   for option in self.driver.find_elements(By.CSS_SELECTOR, "#completions option")]
        self.check("\\Process(" in offered and "\\Processor(" in offered,
                   "the box completes object titles: %s" % offered)
        completions = self.driver.execute_script(
            "return [gaugery.completionsFor('\\\\Process('), gaugery.completionsFor('\\\\Process(_Total)\\\\Thr')];")
        self.check("\\Process(*)\\" in completions[0] and "\\Process(_Total)\\" in completions[0],
                   "the box completes instances, * first: %s" % completions[0][:5])
        self.check(completions[1] == [path], "the box completes counters: %s" % completions[1])
        box.send_keys(Keys.CONTROL, "a")
        box.send_keys(path, Keys.ENTER)
        wait_for(self.driver, lambda: drawn_series(self.driver, path) and drawn_series(self.driver, path)["points"],
                 "the added counter is charted")
        self.check(urllib.parse.quote(path, safe="") in self.driver.current_url.replace("+", "%20"),
                   "the address holds the added counter: " + self.driver.current_url)
        remove = self.driver.find_element(By.CSS_SELECTOR, "[aria-label='Remove %s']" % path.replace("\\", "\\\\"))
        remove.click()
        counters = self.driver.execute_script("return window.gaugery.view.counters;")
        self.check(path not in counters, "the removed counter leaves the view")

    def process_rows(self):
        # Read in one step: the table is rebuilt at every refresh.
        return self.driver.execute_script(
            "return [...document.querySelectorAll('#processes tbody tr')]"
            ".map(row => [...row.cells].map(cell => cell.textContent));")

    def column(self, caption):
        headers = self.driver.execute_script(
            "return [...document.querySelectorAll('#processes th button')].map(b => b.textContent);")
        return headers.index(caption)

    def process_table_lists_the_server(self):
        wait_for(self.driver, lambda: self.process_rows(), "the process table has rows")
        id_column = self.column("ID Process")
        pid = str(self.server.process.pid)
        own = [row for row in self.process_rows() if row[id_column].replace(",", "") == pid]
        self.check(len(own) == 1 and own[0][0] == "gaugery",
                   "the table lists the server as gaugery with ID Process %s: %s" % (pid, own))

    def sorting_and_filter_work(self):
        id_column = self.column("ID Process")
        header = self.driver.find_elements(By.CSS_SELECTOR, "#processes th button")[id_column]
        header.click()
        for order in ("descending", "ascending"):
            ids = [int(row[id_column].replace(",", "")) for row in self.process_rows()]
            expected = sorted(ids, reverse=order == "descending")
            self.check(ids == expected, "the rows sort %s by ID Process: %s" % (order, ids[:10]))
            if order == "descending":
                header = self.driver.find_elements(By.CSS_SELECTOR, "#processes th button")[id_column]
                header.click()
        name_filter = self.driver.find_element(By.ID, "process-filter")
        name_filter.send_keys("GAUGERY")
        names = [row[0] for row in self.process_rows()]
        self.check(names and all("gaugery" in name.lower() for name in names),
                   "the name filter shows only matching rows: %s" % names)
        name_filter.clear()
        name_filter.send_keys(Keys.BACKSPACE)

    def fits_a_phone_in_both_schemes(self):
        self.driver.set_window_size(390, 844)
        backgrounds = []
        for scheme in ("light", "dark"):
            self.driver.execute_cdp_cmd("Emulation.setEmulatedMedia",
                                        {"features": [{"name": "prefers-color-scheme", "value": scheme}]})
            backgrounds.append(self.driver.execute_script(
                "return getComputedStyle(document.body).backgroundColor;"))
            overflow = self.driver.execute_script(
                "return document.documentElement.scrollWidth - document.documentElement.clientWidth;")
            self.check(overflow <= 0, "the %s page fits a phone's width (%d pixels over)" % (scheme, overflow))
        self.check(backgrounds[0] != backgrounds[1], "the schemes differ: %s" % backgrounds)
        self.driver.set_window_size(1280, 800)

    def address_opens_its_counters(self):
        query = urllib.parse.urlencode([("counter", MEMORY_PATH), ("range", "5m")])
        self.driver.get(self.server.base + "/?" + query)
        wait_for(self.driver, lambda: self.driver.find_elements(By.CSS_SELECTOR, "#legend tbody tr"),
                 "the legend lists the counter of the address")
        counters = self.driver.execute_script("return window.gaugery.view.counters;")
        self.check(counters == [MEMORY_PATH], "the address's counters are the view's: %s" % counters)
        self.check(self.driver.find_element(By.ID, "range").get_attribute("value") == "5m",
                   "the address's range is the view's")


def record_log(program, file, count=12):
    """A log of Count samples a fifth of a second apart."""
    subprocess.run([program, "record", "--interval", "0.2", "--count", str(count), file],
                   check=True, capture_output=True, timeout=WAIT_SECONDS + count)


class LogChecks(Checks):
    def shows_the_whole_log(self):
        self.driver.get(self.server.base + "/?" + urllib.parse.urlencode({"counter": CPU_PATH}))
        wait_for(self.driver, lambda: len((drawn_series(self.driver, CPU_PATH) or {}).get("points", [])) >= 2,
                 "the chart draws the log's processor time")
        log = self.driver.execute_script("return gaugery.view.log;")
        shown = self.driver.execute_script("return [gaugery.chart.start, gaugery.chart.end];")
        self.check(log and shown == [log["first"], log["last"]],
                   "the chart spans the log, %s: %s" % (log, shown))
        times = [point[0] for point in drawn_series(self.driver, CPU_PATH)["points"]]
        self.check(len(times) == log["samples"] - 1 and times[-1] == log["last"],
                   "a point for every sample after the first, the last at the log's end: %s" % times)
        chart = self.driver.find_element(By.ID, "chart")
        chart.send_keys("+")
        chart.send_keys(Keys.PAGE_DOWN)
        query = lambda: urllib.parse.parse_qs(urllib.parse.urlparse(self.driver.current_url).query)
        wait_for(self.driver, lambda: "from" in query(), "zooming puts the range in the address")
        start, end = int(query()["from"][0]), int(query()["to"][0])
        self.check(log["first"] < start and end <= log["last"] and end - start < log["last"] - log["first"],
                   "the zoomed range lies inside the log: %s" % self.driver.current_url)
        wait_for(self.driver, lambda: "from=%d" % start in (self.driver.execute_script("return gaugery.view.asked;") or ""),
                 "the page asks for the points of the zoomed range")
        chart.send_keys(Keys.HOME)
        self.check("from" not in query(), "Home shows the whole log again")

    def a_click_picks_the_process_table(self):
        heading = lambda: self.driver.find_element(By.ID, "process-time").text
        wait_for(self.driver, lambda: "of" in heading(), "the table names its sample")
        before = heading()
        chart = self.driver.find_element(By.ID, "chart")
        # A third of the way into the plot, from the canvas's centre.
        left, right = self.driver.execute_script(
            "const a = gaugery.chart.plotArea(); return [a.left, a.right];")
        offset = left + (right - left) / 3 - chart.size["width"] / 2
        ActionChains(self.driver).move_to_element_with_offset(chart, int(offset), 0).click().perform()
        wait_for(self.driver, lambda: heading() != before, "the click changes the process table")
        at = urllib.parse.parse_qs(urllib.parse.urlparse(self.driver.current_url).query).get("at")
        self.check(at is not None, "the address keeps the picked time: " + self.driver.current_url)
        table = self.server.get_json("/api/processes?at=" + at[0])
        self.check("sample %d of" % table["sample"] in heading() and table["sample"] < table["samples"],
                   "the table is the one of the picked sample: %s, %s" % (heading(), table["sample"]))


def screenshot(server, file, size="1280x800", scheme="auto", query="range=1m", wait=30):
    width, height = (int(part) for part in size.split("x"))
    driver = browser(width, height)
    try:
        if scheme != "auto":
            driver.execute_cdp_cmd("Emulation.setEmulatedMedia",
                                   {"features": [{"name": "prefers-color-scheme", "value": scheme}]})
        driver.get(server.base + "/?" + query)
        time.sleep(wait)
        wait_for(driver, lambda: driver.execute_script(
            "return document.querySelectorAll('#processes tbody tr').length > 0;"), "the process table")
        # The whole page, the process table below the chart included.
        page_height = driver.execute_script("return document.documentElement.scrollHeight;")
        driver.set_window_size(width, page_height + height - driver.execute_script("return innerHeight;"))
        time.sleep(1)
        driver.save_screenshot(file)
    finally:
        driver.quit()


def log_screenshot(program, file, size="1280x800", scheme="auto"):
    """A log of half a minute, shown whole with the process table two thirds into it."""
    log_file = tempfile.mkstemp(suffix=".glog")[1]
    try:
        record_log(program, log_file, 150)
        server = Server(program, replay=log_file)
        try:
            log = server.get_json("/api/values?" + urllib.parse.urlencode({"counter": CPU_PATH}))["log"]
            at = log["first"] + (log["last"] - log["first"]) * 2 // 3
            screenshot(server, file, size, scheme, "at=%d" % at, 3)
        finally:
            server.stop()
    finally:
        os.remove(log_file)
    return 0


def main():
    if len(sys.argv) < 2:
        print(__doc__)
        return 2
    if not (os.path.exists(CHROMIUM) and os.path.exists(DRIVER)):
        print("skipped: chromium or chromium-driver is not installed")
        return SKIPPED
    if len(sys.argv) > 3 and sys.argv[2] == "--screenshot-log":
        return log_screenshot(sys.argv[1], *sys.argv[3:])
    server = Server(sys.argv[1])
    if len(sys.argv) > 3 and sys.argv[2] == "--screenshot":
        try:
            screenshot(server, *sys.argv[3:])
        finally:
            server.stop()
        return 0
    driver = None
    try:
        driver = browser()
        driver.set_page_load_timeout(WAIT_SECONDS)
        checks = Checks(server, driver)
        for check in (checks.page_loads_cleanly, checks.chart_shows_served_values,
                      checks.chart_zooms_and_returns_to_live, checks.box_adds_a_counter, checks.process_table_lists_the_server,
                      checks.sorting_and_filter_work, checks.fits_a_phone_in_both_schemes,
                      checks.address_opens_its_counters):
            started = time.monotonic()
            check()
            print("%-40s %.1f s" % (check.__name__, time.monotonic() - started))
        server.stop()
        log_file = tempfile.mkstemp(suffix=".glog")[1]
        try:
            record_log(sys.argv[1], log_file)
            server = Server(sys.argv[1], replay=log_file)
            log_checks = LogChecks(server, driver)
            for check in (log_checks.shows_the_whole_log, log_checks.a_click_picks_the_process_table):
                started = time.monotonic()
                check()
                print("%-40s %.1f s" % (check.__name__, time.monotonic() - started))
        finally:
            os.remove(log_file)
        return 1 if checks.failures or log_checks.failures else 0
    finally:
        if driver:
            driver.quit()
        server.stop()


if __name__ == "__main__":
    sys.exit(main())
