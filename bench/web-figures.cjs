// The figures of the browser page; run by bench/web. With BASE_SITE, the page's first
// load is measured side by side with that site's, in the same run.
"use strict";

const fs = require("node:fs");
const path = require("node:path");
const zlib = require("node:zlib");
const { serve, siteRoots, launch, settle } = require("../tests/web/browser.cjs");

const LOADS = 10;
const STEPS = 80;
const SLOW_LOADS = 3;
// A phone on a slow line: DevTools' "Fast 3G" profile, and a CPU four times slower.
const FAST_3G = { offline: false, latency: 562.5, downloadThroughput: 180000, uploadThroughput: 84375 };
const SLOW_CPU = 4;

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}
function percentile90(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.min(sorted.length - 1, Math.floor(sorted.length * 0.9))];
}
const show = (name, value, digits = 2) => console.log(`${name}: ${value.toFixed(digits)}`);

// One first load of QUERY on the site at URL, nothing cached, served with gzip: the bytes
// that came over the wire until the menu was on the terminal, and the time until then
// from the navigation's start. SLOW: on the phone's line and CPU.
async function firstLoad(browser, url, query, slow) {
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    const session = await page.createCDPSession();
    await session.send("Network.enable");
    await session.send("Network.setCacheDisabled", { cacheDisabled: true });
    const received = new Map();
    session.on("Network.loadingFinished", (event) => received.set(event.requestId, event.encodedDataLength));
    if (slow) {
      await session.send("Network.emulateNetworkConditions", FAST_3G);
      await session.send("Emulation.setCPUThrottlingRate", { rate: SLOW_CPU });
    }
    await page.goto(url + query, { timeout: 300_000 });
    await page.waitForFunction(() => performance.getEntriesByName("first-output").length > 0, {
      timeout: 300_000,
    });
    const ms = await page.evaluate(() => performance.getEntriesByName("first-output")[0].startTime);
    const bytes = [...received.values()].reduce((sum, n) => sum + n, 0);
    return { ms, bytes };
  } finally {
    await context.close();
  }
}

// The first load's figures, NAME_..., for the site served from ROOT: the English page and
// the Russian one, plain and on the phone, each the median of its loads, one of each in
// turn so that the machine's load falls on them alike.
async function firstLoadFigures(browser, sites) {
  const servers = await Promise.all(sites.map(({ root }) => serve([root], { gzip: true })));
  try {
    for (const [query, language] of [["", "en"], ["?lang=ru", "ru"]]) {
      const figures = sites.map(() => ({ plain: [], slow: [], bytes: [] }));
      for (let i = 0; i < SLOW_LOADS; i++) {
        for (const [k, server] of servers.entries()) {
          figures[k].plain.push((await firstLoad(browser, server.url, query, false)).ms);
          const slow = await firstLoad(browser, server.url, query, true);
          figures[k].slow.push(slow.ms);
          figures[k].bytes.push(slow.bytes);
        }
      }
      for (const [k, { name }] of sites.entries()) {
        console.log(`${name}_${language}_transferred_gzip_bytes: ${median(figures[k].bytes)}`);
        show(`${name}_${language}_menu_ms`, median(figures[k].plain), 0);
        show(`${name}_${language}_menu_fast3g_cpu4_ms`, median(figures[k].slow), 0);
      }
    }
  } finally {
    for (const server of servers) server.close();
  }
}

async function main() {
  const server = await serve(siteRoots());
  const browser = await launch();
  try {
    const sites = [{ name: "first_load", root: siteRoots()[0] }];
    if (process.env.BASE_SITE) sites.push({ name: "base_first_load", root: path.resolve(process.env.BASE_SITE) });
    await firstLoadFigures(browser, sites);
    if (process.env.FIGURES === "first-load") return;

    // Page load to the menu on the terminal: from the start of the navigation to the
    // program's first output parsed into the terminal's buffer, each load in a new page.
    const loads = [];
    for (let i = 0; i < LOADS; i++) {
      const page = await browser.newPage();
      await page.goto(server.url);
      await settle(page);
      loads.push(await page.evaluate(() => performance.getEntriesByName("first-output")[0].startTime));
      await page.close();
    }

    // Key to frame: from the key event's time stamp to the frame's bytes parsed into the
    // buffer, and to the terminal's next rendering of its rows.
    const page = await browser.newPage();
    await page.evaluateOnNewDocument(() => {
      window.bench = { keys: [], parsed: [], rendered: [] };
      window.addEventListener("keydown", (event) => window.bench.keys.push(event.timeStamp), { capture: true });
    });
    await page.goto(server.url);
    await settle(page);
    await page.evaluate(() => {
      demo.term.onWriteParsed(() => bench.parsed.push(performance.now()));
      demo.term.onRender(() => bench.rendered.push(performance.now()));
    });
    await page.keyboard.press("2");
    await settle(page);
    const toBuffer = [];
    const toPaint = [];
    for (let i = 0; i < STEPS; i++) {
      await page.keyboard.press("Space");
      await settle(page);
      // The frame is painted with the next animation frame; wait for it.
      await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
      const { keys, parsed, rendered } = await page.evaluate(() => bench);
      const key = keys.at(-1);
      const firstAfter = (times) => times.find((time) => time >= key);
      const inBuffer = firstAfter(parsed);
      const painted = firstAfter(rendered);
      if (inBuffer === undefined || painted === undefined) break; // the run has ended
      toBuffer.push(inBuffer - key);
      toPaint.push(painted - key);
    }

    // Waiting at a step gate: the script and task time the page spends in 5 s.
    const session = await page.createCDPSession();
    await session.send("Performance.enable");
    const metrics = async () =>
      Object.fromEntries((await session.send("Performance.getMetrics")).metrics.map((m) => [m.name, m.value]));
    const before = await metrics();
    await new Promise((resolve) => setTimeout(resolve, 5000));
    const idle = await metrics();

    show("page_load_to_menu_ms", median(loads), 1);
    show("key_to_buffer_ms", median(toBuffer));
    show("key_to_buffer_p90_ms", percentile90(toBuffer));
    show("key_to_paint_ms", median(toPaint));
    show("key_to_paint_p90_ms", percentile90(toPaint));
    console.log(`frames_measured: ${toBuffer.length}`);
    show("idle_script_ms", (idle.ScriptDuration - before.ScriptDuration) * 1000);
    show("idle_task_ms", (idle.TaskDuration - before.TaskDuration) * 1000);
  } finally {
    await browser.close();
    server.close();
  }

  // The program without xterm.js: its WebAssembly and its JavaScript.
  const site = siteRoots()[0];
  let bytes = 0;
  let gzipped = 0;
  for (const name of ["insertion-sort-demo.js", "insertion-sort-demo.wasm"]) {
    const content = fs.readFileSync(path.join(site, name));
    bytes += content.length;
    gzipped += zlib.gzipSync(content, { level: 9 }).length;
  }
  console.log(`program_bytes: ${bytes}`);
  console.log(`program_gzip_bytes: ${gzipped}`);
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
