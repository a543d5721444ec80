// The page's tests drive a real browser: Debian's Chromium, headless, through
// puppeteer-core, against the site served from the build tree on 127.0.0.1. They wait on
// what the program does (it waits for a key with all its output on the terminal, or it has
// ended), never on the clock; the time limits are safety nets only.
"use strict";

const fs = require("node:fs");
const http = require("node:http");
const path = require("node:path");
const { before, after } = require("node:test");
const puppeteer = require("puppeteer-core");

const TYPES = {
  ".html": "text/html; charset=utf-8",
  ".js": "text/javascript",
  ".mjs": "text/javascript",
  ".css": "text/css",
  ".wasm": "application/wasm",
};

// Serves the files of ROOTS (the first that has a file wins) on a free port of 127.0.0.1;
// with GZIP, compressed as common static hosts do, for a browser that accepts it.
async function serve(roots, { gzip = false } = {}) {
  const server = http.createServer((request, response) => {
    const name = decodeURIComponent(new URL(request.url, "http://host").pathname);
    const relative = name === "/" ? "index.html" : name.slice(1);
    for (const root of roots) {
      const file = path.join(root, relative);
      if (!file.startsWith(root) || !fs.existsSync(file) || fs.statSync(file).isDirectory())
        continue;
      const headers = { "Content-Type": TYPES[path.extname(file)] ?? "application/octet-stream" };
      const compress = gzip && /\bgzip\b/.test(request.headers["accept-encoding"] ?? "");
      if (compress) headers["Content-Encoding"] = "gzip";
      response.writeHead(200, headers);
      const content = fs.createReadStream(file);
      (compress ? content.pipe(require("node:zlib").createGzip()) : content).pipe(response);
      return;
    }
    response.writeHead(404);
    response.end();
  });
  await new Promise((resolve) => server.listen(0, "127.0.0.1", resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// Serves the site with Python's own web server, as the README says to: its URL, and the
// server's process to kill.
async function servePython(root) {
  const { spawn } = require("node:child_process");
  const server = spawn("python3", ["-u", "-m", "http.server", "--bind", "127.0.0.1", "--directory", root, "0"]);
  const port = await new Promise((resolve, reject) => {
    let said = "";
    server.stdout.on("data", (data) => {
      said += data;
      const found = / port (\d+)/.exec(said);
      if (found) resolve(found[1]);
    });
    server.on("exit", () => reject(new Error(`python3 -m http.server ended: ${said}`)));
  });
  return { url: `http://127.0.0.1:${port}/`, close: () => server.kill() };
}

function siteRoots() {
  return [process.env.SITE, process.env.TEST_SITE].filter(Boolean).map((root) => path.resolve(root));
}

// Headless Chromium, with nothing of its own going to the network.
function launch() {
  const args = [
    "--disable-gpu",
    "--disable-background-networking",
    "--disable-component-update",
    "--disable-sync",
    "--disable-quic",
    "--no-first-run",
    "--font-render-hinting=none",
  ];
  if (process.getuid?.() === 0) args.push("--no-sandbox");
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || "/usr/bin/chromium",
    headless: true,
    args,
    defaultViewport: { width: 1000, height: 800 },
  });
}

// The site's server and a browser, started before a file's tests and closed after them;
// with QUERY, also the page that the tests share, open at QUERY. The folders of MORE are
// served after the site's.
function withBrowser(query, more = []) {
  const context = {};
  before(async () => {
    context.server = await serve([...siteRoots(), ...more]);
    context.browser = await launch();
    if (query !== undefined) context.page = await open(context.browser, context.server.url, query);
  });
  after(async () => {
    await context.browser?.close();
    context.server?.close();
  });
  return context;
}

// The program waits for a key or has ended, all its output on the terminal, and what the
// page says is said at once.
async function settle(page) {
  await page.waitForFunction(() => window.demo?.settled && window.demo.heard, { timeout: 60_000 });
}

// Opens the page at QUERY ("?program=console-keys") and waits for the program's first wait.
async function open(browser, url, query = "") {
  const page = await browser.newPage();
  // Errors thrown on the page and not caught; what was said on the console as an error or
  // a warning.
  const errors = [];
  const complaints = [];
  page.on("pageerror", (error) => errors.push(error.message));
  page.on("console", (message) => {
    if (message.type() === "error" || message.type() === "warn") complaints.push(message.text());
  });
  await page.goto(url + query);
  await settle(page);
  page.errors = errors;
  page.complaints = complaints;
  return page;
}

// Presses KEY (puppeteer's name: "Space", "Escape", "KeyD") and waits for what follows.
async function press(page, key) {
  await page.keyboard.press(key);
  await settle(page);
}

// Types TEXT one key at a time.
async function type(page, text) {
  for (const ch of text) await press(page, ch);
}

// The terminal's rows as a person sees them (look's), trailing blanks removed.
async function screen(page) {
  return (await look(page)).rows;
}

// The screen as a person sees it: each row's text with hidden cells blank, each cell's
// colour, and the cursor, 1-based.
function look(page) {
  return page.evaluate(() => {
    const buffer = window.demo.term.buffer.active;
    const rows = [];
    const colours = [];
    for (let y = 0; y < window.demo.term.rows; y++) {
      const line = buffer.getLine(buffer.viewportY + y);
      let text = "";
      const row = [];
      for (let x = 0; x < window.demo.term.cols; x++) {
        const cell = line.getCell(x);
        const chars = cell.getChars() || " ";
        const foreground = cell.isFgDefault() ? -1 : cell.getFgColor();
        const hidden = chars === " " || cell.isInvisible() !== 0 || (foreground === 0 && cell.isBgDefault());
        text += hidden ? " " : chars;
        row.push(hidden ? "hidden" : { "-1": "grey", 9: "lightred", 10: "lightgreen" }[foreground] ?? `palette ${foreground}`);
      }
      rows.push(text.trimEnd());
      colours.push(row);
    }
    return { rows, colours, cursor: [buffer.cursorY + 1, buffer.cursorX + 1] };
  });
}

// Sends a key of the numeric keypad as a real keyboard does, with its location on every
// event: puppeteer's own keyboard drops it on the release.
async function keypad(page, type, key, code, keyCode, modifiers) {
  const session = await page.createCDPSession();
  await session.send("Input.dispatchKeyEvent", {
    type,
    key,
    code,
    windowsVirtualKeyCode: keyCode,
    nativeVirtualKeyCode: keyCode,
    location: 3,
    isKeypad: true,
    modifiers,
    text: type === "keyDown" && key.length === 1 && modifiers === 0 ? key : undefined,
  });
  await session.detach();
}

// Sends a key that puppeteer's keyboard does not know (one of another layout) as a real
// keyboard does: its character KEY on the key CODE.
async function key(page, type, character, code, keyCode) {
  const session = await page.createCDPSession();
  await session.send("Input.dispatchKeyEvent", {
    type,
    key: character,
    code,
    windowsVirtualKeyCode: keyCode,
    nativeVirtualKeyCode: keyCode,
    text: type === "keyDown" ? character : undefined,
  });
  await session.detach();
}

// What axe-core finds wrong on PAGE as it stands: each violation's rule and where.
async function axeViolations(page) {
  await page.addScriptTag({ path: path.join(process.env.NODE_PATH.split(path.delimiter)[0], "axe-core", "axe.min.js") });
  return page.evaluate(async () =>
    (await window.axe.run(document)).violations.map((v) => `${v.id}: ${v.nodes.map((n) => n.target).join(" ")}`),
  );
}

// The lines of a file of cases that say something: [number, text, words], a word in double
// quotes whole and without them.
function caseLines(file) {
  return fs
    .readFileSync(file, "utf8")
    .split("\n")
    .map((text, index) => [index + 1, text, [...text.matchAll(/"([^"]*)"|(\S+)/g)].map((m) => m[1] ?? m[2])])
    .filter(([, text, words]) => words.length > 0 && !text.startsWith("#"));
}

module.exports = { caseLines, serve, servePython, siteRoots, launch, withBrowser, open, settle, press, type, screen, look, keypad, key, axeViolations };
