// Album pages in headless Chromium (Debian's /usr/bin/chromium, driven by
// puppeteer-core): layout, sharp copies, the lightbox, the page without script,
// accessibility, requests, names that need escaping, and a large album's first screen.
//
// Usage: node album-test.mjs --label NAME --samples PAGE [--names PAGE --names-list FILE]
//                            [--scale PAGE] [--screenshots DIR]
// PAGE is an album page made by pictorva-cli; FILE lists, one a line (JSON strings),
// the file names of the names album. Prints one line per check and, last,
// "browser: N passed, N failed".
import fs from "node:fs";
import http from "node:http";
import os from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import { createRequire } from "node:module";
import puppeteer from "puppeteer-core";

const require = createRequire(import.meta.url);
const axeSource = fs.readFileSync(require.resolve("axe-core/axe.min.js"), "utf8");

const options = {};
for (let i = 2; i < process.argv.length; i += 2) options[process.argv[i].replace(/^--/, "")] = process.argv[i + 1];
const label = options.label || "album";

let passed = 0;
let failed = 0;
function check(what, ok, detail) {
  if (ok) {
    passed++;
    if (process.env.ALBUM_TEST_VERBOSE) console.log(`browser: ok: ${label}: ${what}`);
  } else {
    failed++;
    console.log(`browser: FAILED: ${label}: ${what}${detail === undefined ? "" : ": " + detail}`);
  }
}
function note(text) {
  console.log(`browser: ${label}: ${text}`);
}

const phone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const desktop = { width: 1920, height: 1080, deviceScaleFactor: 1 };

const profile = fs.mkdtempSync(path.join(os.tmpdir(), "album-chromium-"));
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  userDataDir: profile,
  protocolTimeout: 30000,
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--allow-file-access-from-files"],
});

// A page at the viewport, recording every request; requests outside the gallery
// folder are noted.
async function openPage(viewport, { javaScript = true, dark = false } = {}) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  await page.setJavaScriptEnabled(javaScript);
  await page.emulateMediaFeatures([{ name: "prefers-color-scheme", value: dark ? "dark" : "light" }]);
  page.requests = [];
  page.errors = [];
  page.on("request", (request) => page.requests.push({ url: request.url(), type: request.resourceType() }));
  page.on("pageerror", (error) => page.errors.push(error.message));
  return page;
}

const settle = (page, ms = 300) => new Promise((done) => setTimeout(done, ms));
const wait = (ms) => new Promise((done) => setTimeout(done, ms));

// Waits until every picture at least partly on screen has loaded.
async function waitForScreen(page) {
  await page.waitForFunction(() => {
    const height = innerHeight;
    return [...document.querySelectorAll("main img")].every((img) => {
      const box = img.getBoundingClientRect();
      return box.bottom <= 0 || box.top >= height || (img.complete && img.naturalWidth > 0);
    });
  }, { timeout: 20000, polling: 20 });
}

function outsideFolder(page, folderUrl) {
  return page.requests.filter((r) => !r.url.startsWith(folderUrl) && !r.url.startsWith("data:"));
}

// Rows of the grid: their pictures' left and right edges against the grid's.
async function gridFacts(page) {
  return page.evaluate(() => {
    const main = document.querySelector("main").getBoundingClientRect();
    const rows = [];
    for (const link of document.querySelectorAll("main>a")) {
      const box = link.getBoundingClientRect();
      const row = rows.find((r) => Math.abs(r.top - box.top) < 1);
      if (row) {
        row.left = Math.min(row.left, box.left);
        row.right = Math.max(row.right, box.right);
        row.heights.push(box.height);
        row.count++;
      } else {
        rows.push({ top: box.top, left: box.left, right: box.right, heights: [box.height], count: 1 });
      }
    }
    return {
      left: main.left, right: main.right, rows,
      scrollWidth: document.documentElement.scrollWidth, clientWidth: document.documentElement.clientWidth,
    };
  });
}

async function checkLayout(page, where) {
  const facts = await gridFacts(page);
  check(`${where}: no sideways scrolling`, facts.scrollWidth <= facts.clientWidth,
        `${facts.scrollWidth} > ${facts.clientWidth}`);
  const full = facts.rows.slice(0, -1);
  const ragged = full.filter((r) => Math.abs(r.left - facts.left) > 1 || Math.abs(r.right - facts.right) > 1);
  check(`${where}: every row but the last fills the width within 1 pixel`, ragged.length === 0,
        JSON.stringify(ragged.slice(0, 3)));
  const uneven = facts.rows.filter((r) => Math.max(...r.heights) - Math.min(...r.heights) > 1);
  check(`${where}: the pictures of a row share one height`, uneven.length === 0, JSON.stringify(uneven.slice(0, 2)));
  return facts;
}

// The copy each visible picture loaded: its 2x copy (or its only one) when large.
async function checkSources(page, where, large) {
  const wrong = await page.evaluate((large) => {
    const out = [];
    for (const img of document.querySelectorAll("main img")) {
      const box = img.getBoundingClientRect();
      if (box.bottom <= 0 || box.top >= innerHeight) continue;
      const srcset = img.getAttribute("srcset");
      const wanted = large && srcset ? srcset.split(" ")[0] : img.getAttribute("src");
      const loaded = new URL(img.currentSrc).pathname.split("/").slice(-2).join("/");
      if (loaded !== new URL(wanted, location.href).pathname.split("/").slice(-2).join("/")) {
        out.push(`${img.alt}: ${loaded} instead of ${wanted}`);
      }
    }
    return out;
  }, large);
  check(`${where}: every visible picture shows its ${large ? "2x" : "1x"} copy`, wrong.length === 0, wrong.join("; "));
}

async function axeCheck(page, where) {
  await page.addScriptTag({ content: axeSource });
  const result = await page.evaluate(async () => {
    const report = await window.axe.run(document, { resultTypes: ["violations"] });
    return report.violations.map((v) => ({ id: v.id, impact: v.impact, nodes: v.nodes.length }));
  });
  const bad = result.filter((v) => v.impact === "serious" || v.impact === "critical");
  check(`${where}: axe-core finds nothing serious or critical`, bad.length === 0, JSON.stringify(bad));
}

const lightbox = (page) => page.evaluate(() => ({
  open: document.getElementById("box").open,
  hash: location.hash,
  view: document.getElementById("view").getAttribute("src"),
  name: document.getElementById("name").textContent,
  focusInside: document.getElementById("box").contains(document.activeElement),
  focused: document.activeElement && document.activeElement.getAttribute("href"),
}));

async function samplesChecks(pageFile) {
  const url = pathToFileURL(pageFile).href;
  const folderUrl = pathToFileURL(path.dirname(pageFile)).href + "/";
  const html = fs.readFileSync(pageFile, "utf8");

  for (const [where, viewport] of [["390 x 844 at 3x", phone], ["1920 x 1080 at 1x", desktop]]) {
    const page = await openPage(viewport);
    await page.goto(url, { waitUntil: "load" });
    await waitForScreen(page);
    await checkLayout(page, where);
    await checkSources(page, where, viewport.deviceScaleFactor > 1);
    await axeCheck(page, `${where}, the grid`);
    check(`${where}: no script errors`, page.errors.length === 0, page.errors.join("; "));
    check(`${where}: no request leaves the gallery folder`, outsideFolder(page, folderUrl).length === 0,
          JSON.stringify(outsideFolder(page, folderUrl)));
    await page.close();
  }

  // Every picture has its size written and loads lazily.
  const images = [...html.matchAll(/<img [^>]*>/g)].map((m) => m[0]).filter((t) => !t.includes('id="view"'));
  check("every picture has width, height, alt and lazy loading",
        images.length > 0 && images.every((t) => / width="\d+"/.test(t) && / height="\d+"/.test(t) &&
                                                 / alt="/.test(t) && / loading="lazy"/.test(t)));

  // The lightbox, on the desktop.
  const page = await openPage(desktop);
  await page.goto(url, { waitUntil: "load" });
  const links = await page.$$eval("main>a", (all) => all.map((a) => ({
    href: a.getAttribute("href"), name: a.getAttribute("data-o") || a.getAttribute("href").slice(4),
    alt: a.firstElementChild.alt,
  })));
  await page.click("main>a:nth-child(2)");
  let state = await lightbox(page);
  check("a click opens the lightbox", state.open);
  check("it shows the display copy", state.view === links[1].href, state.view);
  check("its caption names the picture", state.name === links[1].alt, state.name);
  check("the fragment names the open picture", state.hash === "#" + links[1].name, state.hash);
  check("focus moves into the lightbox", state.focusInside);
  const caption = await page.$eval("figcaption", (c) => c.innerText);
  check("the caption shows the pixel size and the file size", /\d+ × \d+/.test(caption) && /\d\.\d (KB|MB)/.test(caption),
        caption);
  await page.keyboard.press("ArrowRight");
  state = await lightbox(page);
  check("→ steps to the next picture", state.view === links[2].href && state.hash === "#" + links[2].name, state.hash);
  await page.keyboard.press("ArrowLeft");
  state = await lightbox(page);
  check("← steps back", state.view === links[1].href && state.hash === "#" + links[1].name, state.hash);
  const ahead = page.requests.map((r) => r.url);
  check("the neighbouring display copies are fetched ahead",
        ahead.some((u) => u.endsWith(links[0].href.replace(/^.*\//, ""))) &&
        ahead.some((u) => u.endsWith(links[3].href.replace(/^.*\//, ""))));
  await axeCheck(page, "the open lightbox");
  if (options.screenshots) await page.screenshot({ path: path.join(options.screenshots, "album-lightbox.png") });
  await page.keyboard.press("Escape");
  await settle(page);
  state = await lightbox(page);
  check("Esc closes it", !state.open);
  check("closing clears the fragment", state.hash === "", state.hash);
  check("focus goes back to the picture", state.focused === links[1].href, state.focused);
  await page.keyboard.press("Tab");
  await page.keyboard.press("Enter");
  state = await lightbox(page);
  check("Enter on a picture opens the lightbox", state.open && state.view === links[2].href, JSON.stringify(state));
  await page.goBack();
  await settle(page);
  state = await lightbox(page);
  check("Back closes the lightbox", !state.open && state.hash === "", JSON.stringify(state));
  await page.focus("main>a:nth-child(1)");
  await page.keyboard.press(" ");
  state = await lightbox(page);
  check("Space on a picture opens the lightbox", state.open && state.view === links[0].href);
  await page.keyboard.press("Escape");
  check("the lightbox makes no request outside the folder", outsideFolder(page, folderUrl).length === 0,
        JSON.stringify(outsideFolder(page, folderUrl)));
  await page.close();

  // A link with a fragment opens the page at that picture.
  const linked = await openPage(desktop);
  await linked.goto(url + "#" + links[3].name, { waitUntil: "load" });
  await settle(linked);
  state = await lightbox(linked);
  check("a fragment in the address opens that picture", state.open && state.view === links[3].href,
        JSON.stringify(state));
  await linked.close();

  // A swipe on a touch screen steps.
  const touch = await openPage(phone);
  await touch.goto(url + "#" + links[1].name, { waitUntil: "load" });
  await settle(touch);
  await touch.touchscreen.touchStart(300, 400);
  await touch.touchscreen.touchMove(200, 405);
  await touch.touchscreen.touchMove(100, 410);
  await touch.touchscreen.touchEnd();
  await settle(touch);
  state = await lightbox(touch);
  check("a swipe to the left steps to the next picture", state.view === links[2].href, state.view);
  if (options.screenshots) await touch.screenshot({ path: path.join(options.screenshots, "album-lightbox-phone.png") });
  await touch.close();

  // Without script: the grid, each picture a link to its display copy.
  const plain = await openPage(desktop, { javaScript: false });
  await plain.goto(url, { waitUntil: "load" });
  const plainLinks = await plain.$$eval("main>a", (all) => all.map((a) => ({
    href: a.getAttribute("href"), shown: a.getBoundingClientRect().width > 0 && a.querySelector("img") !== null,
  })));
  check("without script every picture is a link to its display copy",
        plainLinks.length === links.length && plainLinks.every((l, i) => l.shown && l.href === links[i].href));
  await plain.click("main>a:nth-child(2)");
  await settle(plain);
  check("without script a click opens the display copy", plain.url() === new URL(links[1].href, url).href, plain.url());
  await plain.close();

  // Dark: the colours follow the system.
  const dark = await openPage(desktop, { dark: true });
  await dark.goto(url, { waitUntil: "load" });
  await waitForScreen(dark);
  const background = await dark.evaluate(() => getComputedStyle(document.documentElement).backgroundColor);
  check("dark mode darkens the page", /rgb\((\d|1\d|2\d),/.test(background), background);
  await axeCheck(dark, "dark mode");
  if (options.screenshots) await dark.screenshot({ path: path.join(options.screenshots, "album-dark.png") });
  await dark.close();

  // The motion a user asked to avoid is off.
  const still = await openPage(desktop);
  await still.emulateMediaFeatures([{ name: "prefers-reduced-motion", value: "reduce" }]);
  await still.goto(url, { waitUntil: "load" });
  await still.click("main>a:nth-child(1)");
  const animation = await still.$eval("#box", (box) => getComputedStyle(box).animationName);
  check("reduced motion turns the lightbox's animation off", animation === "none", animation);
  await still.close();

  if (options.screenshots) {
    for (const [name, viewport] of [["album-phone.png", phone], ["album-desktop.png", { ...desktop, width: 1440, height: 900 }]]) {
      const shot = await openPage(viewport);
      await shot.goto(url, { waitUntil: "load" });
      await waitForScreen(shot);
      await shot.screenshot({ path: path.join(options.screenshots, name) });
      await shot.close();
    }
  }
}

// Names that need escaping: each shown under its own name, linked to its own files.
async function namesChecks(pageFile, listFile) {
  const names = fs.readFileSync(listFile, "utf8").split("\n").filter(Boolean).map((line) => JSON.parse(line));
  const url = pathToFileURL(pageFile).href;
  const folderUrl = pathToFileURL(path.dirname(pageFile)).href + "/";
  const page = await openPage(desktop);
  await page.goto(url, { waitUntil: "load" });
  await page.evaluate(() => document.querySelectorAll("main img").forEach((img) => { img.loading = "eager"; }));
  await page.waitForFunction(() => [...document.querySelectorAll("main img")].every((img) => img.complete),
                             { timeout: 20000 });
  const shown = await page.evaluate(async () => {
    const loads = (src) => new Promise((done) => {
      const image = new Image();
      image.onload = () => done(image.naturalWidth > 0);
      image.onerror = () => done(false);
      image.src = src;
    });
    const out = [];
    for (const link of document.querySelectorAll("main>a")) {
      const img = link.firstElementChild;
      const original = "img/" + (link.getAttribute("data-o") || link.getAttribute("href").slice(4));
      out.push({
        alt: img.alt, small: img.naturalWidth > 0, display: await loads(link.href),
        original: await loads(original), originalName: decodeURIComponent(original.slice(4)),
      });
    }
    return out;
  });
  check("the names album shows every picture", shown.length === names.length, `${shown.length} of ${names.length}`);
  for (const name of names) {
    const title = name.replace(/\.[^.]*$/, "");
    const entry = shown.find((s) => s.originalName === name);
    const what = JSON.stringify(name);
    check(`${what} is shown under its name`, entry && entry.alt === title, entry && JSON.stringify(entry.alt));
    check(`${what}: its small copy, display copy and original load`,
          entry && entry.small && entry.display && entry.original, JSON.stringify(entry));
  }
  // Each opens in the lightbox by its fragment, with its name in the caption.
  for (const name of names) {
    const fragmentPage = await openPage(desktop);
    await fragmentPage.goto(url + "#" + encodeURIComponent(name), { waitUntil: "load" });
    await settle(fragmentPage, 100);
    const state = await lightbox(fragmentPage);
    const loaded = await fragmentPage.$eval("#view", (view) => view.complete && view.naturalWidth > 0);
    check(`${JSON.stringify(name)} opens by its fragment`, state.open && state.name === name.replace(/\.[^.]*$/, "") && loaded,
          JSON.stringify(state));
    await fragmentPage.close();
  }
  const title = await page.evaluate(() => ({ title: document.title, heading: document.querySelector("h1").textContent }));
  check("the title shows as it is", title.title === options["names-title"] && title.heading === options["names-title"],
        JSON.stringify(title));
  check("the names album requests nothing outside its folder", outsideFolder(page, folderUrl).length === 0,
        JSON.stringify(outsideFolder(page, folderUrl)));
  await page.close();
}

// A large album served by a static web server on the loopback: the images
// requested before any scrolling, the time to the first screen, the page's size.
async function scaleChecks(pageFile) {
  const folder = path.dirname(pageFile);
  const server = http.createServer((request, response) => {
    const file = path.join(folder, decodeURIComponent(new URL(request.url, "http://x").pathname));
    if (!file.startsWith(folder + path.sep) || !fs.existsSync(file)) {
      response.writeHead(404);
      response.end();
      return;
    }
    const types = { ".html": "text/html; charset=utf-8", ".jpg": "image/jpeg", ".png": "image/png", ".gif": "image/gif" };
    response.writeHead(200, { "content-type": types[path.extname(file).toLowerCase()] || "application/octet-stream" });
    fs.createReadStream(file).pipe(response);
  });
  await new Promise((done) => server.listen(0, "127.0.0.1", done));
  const base = `http://127.0.0.1:${server.address().port}/`;
  const count = (fs.readFileSync(pageFile, "utf8").match(/<img src=/g) || []).length;
  const bytes = fs.statSync(pageFile).size;
  note(`${count} pictures, page ${bytes} bytes, ${((bytes - 40 * 1024) / count).toFixed(0)} bytes per picture beyond 40 KB`);
  check("the page holds at most 40 KB plus 400 bytes per picture", bytes <= 40 * 1024 + 400 * count, bytes);
  for (const [where, viewport] of [["1920 x 1080", desktop], ["390 x 844", phone]]) {
    for (const [how, pageUrl] of [["file", pathToFileURL(pageFile).href], ["http", base + encodeURIComponent(path.basename(pageFile))]]) {
      const page = await openPage(viewport);
      const started = Date.now();
      await page.goto(pageUrl, { waitUntil: "domcontentloaded" });
      await waitForScreen(page);
      const firstScreen = Date.now() - started;
      await wait(1500);  // lazy loading may go on a little beyond the screen
      const images = page.requests.filter((r) => r.type === "image").length;
      note(`${where} over ${how}: first screen in ${firstScreen} ms, ${images} images requested before any scrolling`);
      check(`${where} over ${how}: at most 300 images before any scrolling`, images <= 300, images);
      if (how === "http") {
        check(`${where}: no request leaves the server's folder`, outsideFolder(page, base).length === 0);
        await checkLayout(page, `${where}, ${count} pictures`);
      }
      await page.close();
    }
  }
  server.close();
}

try {
  if (options.samples) await samplesChecks(options.samples);
  if (options.names) await namesChecks(options.names, options["names-list"]);
  if (options.scale) await scaleChecks(options.scale);
} catch (error) {
  check("the checks ran to their end", false, error.stack);
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
console.log(`browser: ${passed} passed, ${failed} failed`);
process.exitCode = failed ? 1 : 0;
