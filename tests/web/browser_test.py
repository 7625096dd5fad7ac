#!/usr/bin/python3
"""The game's page in a real browser (headless Chromium): built by ./web.sh, served on loopback.

The page's progress bar follows the download, then the menu shows; Left Left Right Z starts
level 1 with its HUD band, held Up moves the ship, Escape shows the pause panel. A sound
setting changed in the options is still there after a reload (IndexedDB), a damaged save is
told and played past, A on a controller starts a level, F4 ends the game, and a browser
without WebGL gets words instead of a canvas. Prints the download size, the pace over ten
seconds, the frame's own time and the load time. Screenshots go to the folder given.

    browser_test.py SOURCE_DIR SCREENSHOT_DIR
Exit status 77 (skipped) when the browser or the compiler is missing, a failure under CI=true.
"""
import functools
import http.server
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

SKIP = 77
CANVAS = (624, 468)  # the canvas's drawing size (host/web_game.h)
PAGE = "zorvane.html"
# The game's 720 x 540 screen on the canvas.
SCALE = CANVAS[0] / 720


def skip(reason):
    if os.environ.get("CI") == "true":
        print(f"FAIL: {reason} (CI=true: must not skip)")
        sys.exit(1)
    print(f"SKIP: {reason}")
    sys.exit(SKIP)


def fail(reason):
    print(f"FAIL: {reason}")
    sys.exit(1)


try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.keys import Keys
except ImportError:
    skip("python3-selenium is not installed")

for tool in ("emcc", "chromium", "chromedriver"):
    if not shutil.which(tool):
        skip(f"{tool} is not installed")


def box(x, y, w, h):
    """A box of the game's 720 x 540 screen in canvas pixels."""
    return [round(v * SCALE) for v in (x, y, w, h)]


# Where the game draws what the steps look for (on the desktop's 640 x 480 window these are
# the boxes the window scripts use).
TITLE = box(180, 50, 225, 45)
PAUSE_BUTTONS = box(0, 56, 135, 338)
SHIP = box(324, 281, 72, 72)
SOUND_ROW = box(100, 112, 440, 36)

# Reads the canvas right after the game drew it (the drawing is gone once the browser shows
# it): the next animation frame that rendered is copied to a 2D canvas kept under the name.
GRAB = """
const [name, done] = arguments;
// A page still loading has no program to ask yet.
if (typeof Module === "undefined" || !Module.calledRun) {
  done(false);
  return;
}
const before = Module._zorvane_frames();
Module.postMainLoop = () => {
  if (Module._zorvane_frames() === before) return;
  Module.postMainLoop = null;
  const copy = document.createElement("canvas");
  copy.width = Module.canvas.width;
  copy.height = Module.canvas.height;
  const context = copy.getContext("2d");
  context.drawImage(Module.canvas, 0, 0);
  (window.grabs = window.grabs || {})[name] = context.getImageData(0, 0, copy.width, copy.height);
  done(true);
};
"""
# share(name, box, test): the share of the box's pixels whose r, g, b (0..255) pass the test.
SHARE = """
const [name, [x0, y0, w, h], test] = arguments;
const image = window.grabs[name], pass = new Function("r", "g", "b", "return " + test);
let hits = 0;
for (let y = y0; y < y0 + h; ++y)
  for (let x = x0; x < x0 + w; ++x) {
    const i = 4 * (y * image.width + x);
    if (pass(image.data[i], image.data[i + 1], image.data[i + 2])) ++hits;
  }
return hits / (w * h);
"""
# region(name, box): the box's r, g, b values, row by row.
REGION = """
const [name, [x0, y0, w, h]] = arguments;
const image = window.grabs[name], values = [];
for (let y = y0; y < y0 + h; ++y)
  for (let x = x0; x < x0 + w; ++x)
    for (let c = 0; c < 3; ++c) values.push(image.data[4 * (y * image.width + x) + c]);
return values;
"""
# A controller in the browser's standard layout, its A button down or up: the page's Gamepad API
# answers with it from now on.
PAD = """
const down = arguments[0];
const button = i => ({pressed: down && i === 0, touched: false, value: down && i === 0 ? 1 : 0});
const pad = {id: "test pad", index: 0, connected: true, mapping: "standard",
             timestamp: performance.now(), axes: [0, 0, 0, 0],
             buttons: Array.from({length: 17}, (_, i) => button(i))};
navigator.getGamepads = () => [pad];
"""
PACE = "return [Module._zorvane_updates(), Module._zorvane_frames(), Module._zorvane_busy_seconds()]"


def changed(a, b):
    """How many pixels of two regions differ clearly."""
    return sum(abs(a[i] - b[i]) + abs(a[i + 1] - b[i + 1]) + abs(a[i + 2] - b[i + 2]) > 100
               for i in range(0, len(a), 3))


class Page:
    def __init__(self, driver, shots):
        self.driver = driver
        self.shots = shots

    def grab(self, name):
        """True once the next frame's pixels are kept under the name."""
        if not self.driver.execute_async_script(GRAB, name):
            return False
        self.driver.save_screenshot(os.path.join(self.shots, f"web_{name}.png"))
        return True

    def share(self, name, where, test):
        return self.driver.execute_script(SHARE, name, where, test)

    def region(self, name, where):
        return self.driver.execute_script(REGION, name, where)


    def await_grab(self, name, seconds, check):
        """Grabs until check(name) holds, for at most that long; a slow machine only slows it."""
        deadline = time.monotonic() + seconds
        while time.monotonic() < deadline:
            if self.grab(name) and check(name):
                return True
            time.sleep(0.25)
        return False

    def keys(self, *keys, hold=0.25):
        """Each key held long enough for a few updates to see it, then let go."""
        chain = ActionChains(self.driver)
        for key in keys:
            chain.key_down(key).pause(hold).key_up(key).pause(0.15)
        chain.perform()

    def menu_shown(self, name):
        return self.share(name, TITLE, "r + g + b > 380") > 0.05

    def hud_shown(self, name):
        """The HUD band's top row is 80, 40, 4, as on the desktop."""
        return self.share(name, [0, 0, 200, 1], "Math.abs(r - 80) + Math.abs(g - 40) + b < 30") > 0.9

    def load(self, url):
        self.driver.get(url)
        if not self.await_grab("menu", 60, self.menu_shown):
            fail("the menu did not show")
        return self.driver.execute_script("return performance.now()") / 1000

    def console(self):
        return [entry["message"] for entry in self.driver.get_log("browser")]


def browser(profile, *extra):
    options = webdriver.ChromeOptions()
    options.binary_location = shutil.which("chromium")
    for argument in ("--headless=new", "--no-sandbox", "--use-gl=swiftshader",
                     "--enable-unsafe-swiftshader", "--window-size=800,700",
                     f"--user-data-dir={profile}", *extra):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    driver = webdriver.Chrome(service=Service(shutil.which("chromedriver")), options=options)
    driver.set_script_timeout(30)
    return driver


class QuietHandler(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder):
    handler = functools.partial(QuietHandler, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def play(page, url):
    """Load, level 1, flight, pause, an option kept over a reload; returns the figures."""
    load_seconds = page.load(url)
    shown = page.driver.execute_script(
        "const bar = document.getElementById('progress'); return [bar.value, bar.max]")
    if shown[1] < 1e6 or shown[0] != shown[1]:
        fail(f"the progress bar did not follow the download: {shown}")
    u0, f0, b0 = page.driver.execute_script(PACE)
    time.sleep(10)
    u1, f1, b1 = page.driver.execute_script(PACE)
    updates, frame_ms = u1 - u0, (b1 - b0) * 1000 / max(f1 - f0, 1)
    if not 570 <= updates <= 630:
        fail(f"{updates} updates in 10 s, not 600 +- 30")

    # The options: Left to the hub, Z opens them, Down to the sound row; Z changes it.
    page.keys(Keys.LEFT, "z")
    # Browsers hold sound back until the player's first key; the page starts it then.
    sound = page.driver.execute_script("return audioContexts.map(context => context.state)")
    if not sound or any(state != "running" for state in sound):
        fail(f"the sound did not start with the first key: {sound}")
    time.sleep(1)
    page.keys(Keys.DOWN)
    time.sleep(0.5)
    page.grab("options")
    before = page.region("options", SOUND_ROW)
    page.keys("z")
    time.sleep(0.5)
    page.grab("sound_changed")
    after = page.region("sound_changed", SOUND_ROW)
    if changed(before, after) < 50:
        fail("Z on the sound row did not change it")
    page.keys(Keys.ESCAPE)
    time.sleep(1)

    # Left Left Right Z starts level 1: the HUD band along the top.
    page.keys(Keys.LEFT, Keys.LEFT, Keys.RIGHT, "z")
    if not page.await_grab("level", 15, page.hud_shown):
        fail("level 1's HUD band did not show")
    u0, f0, b0 = page.driver.execute_script(PACE)
    time.sleep(3)  # the intro, and the ship settled on its pad
    u1, f1, b1 = page.driver.execute_script(PACE)
    level_ms = (b1 - b0) * 1000 / max(f1 - f0, 1)
    page.grab("rest")
    ActionChains(page.driver).key_down(Keys.UP).pause(0.4).perform()
    page.grab("thrust")
    ActionChains(page.driver).key_up(Keys.UP).perform()
    moved = changed(page.region("rest", SHIP), page.region("thrust", SHIP))
    if moved < 100:
        fail(f"Up did not move the ship ({moved} pixels changed around it)")

    page.keys(Keys.ESCAPE)
    paused = lambda name: page.share(name, PAUSE_BUTTONS, "b > 178 && r < 115 && g < 115") > 0.05
    if not page.await_grab("pause", 5, paused):
        fail("Escape did not show the pause panel")

    # Reloaded, the options show the changed sound setting: it was kept in IndexedDB.
    page.load(url)
    page.keys(Keys.LEFT, "z")
    time.sleep(1)
    page.keys(Keys.DOWN)
    time.sleep(0.5)
    page.grab("options_reloaded")
    reloaded = page.region("options_reloaded", SOUND_ROW)
    kept, lost = changed(after, reloaded), changed(before, reloaded)
    if kept * 3 > lost:
        fail(f"the sound setting was not kept over the reload ({kept} vs {lost} pixels)")
    return load_seconds, updates, frame_ms, level_ms


def damaged_save(page, url):
    """A save damaged in IndexedDB is told, as on the desktop, and the game plays on."""
    page.driver.execute_async_script("""
      const done = arguments[0], path = "/save/.briskostate";
      const fields = FS.readFile(path, {encoding: "utf8"}).split("|");
      fields[5] = "7";  // the sound setting, no longer matching its checksum
      FS.writeFile(path, fields.join("|"));
      FS.syncfs(false, () => done());
    """)
    page.console()  # what came before
    page.load(url)
    if not any("Settings Checksum Invalid" in line for line in page.console()):
        fail("the damaged save was not told")


def controller(page):
    """A on a controller starts level 1 from the menu, as the fire key does."""
    page.driver.execute_script(PAD, True)
    time.sleep(0.4)
    page.driver.execute_script(PAD, False)
    if not page.await_grab("controller_level", 15, page.hud_shown):
        fail("A on the controller did not start level 1")


def main():
    source, shots = sys.argv[1], sys.argv[2]
    os.makedirs(shots, exist_ok=True)
    built = subprocess.run([os.path.join(source, "web.sh"), "build"], stdout=subprocess.PIPE,
                           stderr=subprocess.STDOUT, text=True)
    if built.returncode != 0:
        fail("./web.sh build failed:\n" + built.stdout[-3000:])
    folder = os.path.join(source, "build-web")
    download = sum(os.path.getsize(os.path.join(folder, "zorvane" + ext))
                   for ext in (".js", ".wasm", ".data"))
    if download > 8 * 1024 * 1024:
        fail(f"the download is {download} bytes, more than 8 MiB")

    server = serve(folder)
    url = f"http://127.0.0.1:{server.server_address[1]}/{PAGE}"
    with tempfile.TemporaryDirectory() as profile:
        driver = browser(profile)
        try:
            page = Page(driver, shots)
            load_seconds, updates, frame_ms, level_ms = play(page, url)
            damaged_save(page, url)
            controller(page)
            # F4 quits at once, as on the desktop: the frames stop and the page says so.
            page.keys(Keys.F4)
            words = driver.execute_script("return document.getElementById('message').textContent")
            if "ended" not in words:
                fail(f"F4 did not end the game: the page says {words!r}")
        finally:
            driver.quit()
    with tempfile.TemporaryDirectory() as profile:
        driver = browser(profile, "--disable-3d-apis")
        try:
            driver.get(url)
            words = driver.execute_script("return document.getElementById('message').textContent")
            if "WebGL" not in words:
                fail(f"a browser without WebGL was told: {words!r}")
        finally:
            driver.quit()
    server.shutdown()
    print(f"web figures: download {download / 1e6:.2f} MB, {updates} updates in 10 s, "
          f"a frame's own time {frame_ms:.2f} ms on the menu and {level_ms:.2f} ms in level 1 at "
          f"{CANVAS[0]}x{CANVAS[1]}, the menu {load_seconds:.1f} s "
          f"after navigation")
    print(f"PASS: screenshots in {shots}")


main()
