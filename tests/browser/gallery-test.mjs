// Tile and Flat gallery pages in headless Chromium (Debian's /usr/bin/chromium, driven
// by puppeteer-core): every picture the page shows loads, every picture it links to
// loads, and every row links to a picture of its own.
//
// Usage: node gallery-test.mjs --label NAME --page PAGE --rows N
// PAGE is a gallery page made by pictorva-cli, N the rows it must have. Prints one
// line per check and, last, "browser: N passed, N failed".
import fs from "node:fs";
import os from "node:os";
import path from "node:path";
import { pathToFileURL } from "node:url";
import puppeteer from "puppeteer-core";

const options = {};
for (let i = 2; i < process.argv.length; i += 2) options[process.argv[i].replace(/^--/, "")] = process.argv[i + 1];
const label = options.label || "gallery";

let passed = 0;
let failed = 0;
function check(what, ok, detail) {
  if (ok) {
    passed++;
  } else {
    failed++;
    console.log(`browser: FAILED: ${label}: ${what}${detail === undefined ? "" : ": " + detail}`);
  }
}

const profile = fs.mkdtempSync(path.join(os.tmpdir(), "gallery-chromium-"));
const browser = await puppeteer.launch({
  executablePath: "/usr/bin/chromium",
  headless: true,
  userDataDir: profile,
  protocolTimeout: 30000,
  args: ["--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run", "--disable-background-networking",
         "--disable-component-update", "--disable-sync", "--allow-file-access-from-files"],
});
try {
  const page = await browser.newPage();
  await page.setViewport({ width: 1280, height: 900 });
  await page.goto(pathToFileURL(options.page).href, { waitUntil: "load" });
  // The page's script builds its table when it opens; its pictures load after it.
  await page.waitForFunction(() => [...document.images].every((image) => image.complete), { timeout: 20000 });
  const found = await page.evaluate(async () => {
    const shown = [...document.images].map((image) => ({ src: image.src, width: image.naturalWidth }));
    const links = [...document.querySelectorAll("a[href]")].map((link) => link.href);
    // Each link opened as a picture, as a click would show it.
    const opened = await Promise.all(links.map((href) => new Promise((done) => {
      const image = new Image();
      image.onload = () => done({ href, width: image.naturalWidth });
      image.onerror = () => done({ href, width: 0 });
      image.src = href;
    })));
    return { shown, opened };
  });
  const rows = Number(options.rows);
  check(`the page shows ${rows} pictures`, found.shown.length === rows, `${found.shown.length} shown`);
  for (const image of found.shown) check(`${decodeURIComponent(image.src)} loads`, image.width > 0);
  for (const link of found.opened) check(`the link ${decodeURIComponent(link.href)} opens a picture`, link.width > 0);
  if (found.opened.length > 0) {
    check(`${rows} rows link to ${rows} pictures of their own`, new Set(found.opened.map((l) => l.href)).size === rows,
          `${new Set(found.opened.map((l) => l.href)).size} distinct of ${found.opened.length}`);
  }
} finally {
  await browser.close();
  fs.rmSync(profile, { recursive: true, force: true });
}
console.log(`browser: ${passed} passed, ${failed} failed`);
