// The page's words (web/words.js) answer the words' cases that the programs' reader answers
// too (tests/cases/words.cases), from the catalogue the site carries. The page words no
// count of its own (the program's descriptions bring them in words), so it answers the
// cases of "say" and passes over those of "count".
"use strict";

const assert = require("node:assert/strict");
const fs = require("node:fs");
const path = require("node:path");
const { test } = require("node:test");
const { pathToFileURL } = require("node:url");
const { siteRoots } = require("./browser.cjs");

const CASES = path.join(__dirname, "..", "cases", "words.cases");

test("every line of the words' cases", async () => {
  const { t, useCatalogue } = await import(pathToFileURL(path.join(__dirname, "..", "..", "web", "words.js")));
  const own = fs.readFileSync(path.join(siteRoots()[0], "ru.mo"));
  const bytes = (buffer) => buffer.buffer.slice(buffer.byteOffset, buffer.byteOffset + buffer.length);
  const catalogues = {
    ru: bytes(own),
    none: null,
    broken: bytes(Buffer.from("not a catalogue at all")),
    cut: bytes(own.subarray(0, 64)),
  };
  const lines = fs.readFileSync(CASES, "utf8").split("\n");
  for (const [index, line] of lines.entries()) {
    const words = [...line.matchAll(/"([^"]*)"|(\S+)/g)].map((m) => m[1] ?? m[2]);
    if (words.length === 0 || words[0].startsWith("#")) continue;
    const where = `words.cases:${index + 1}`;
    if (words[0] === "catalogue") {
      assert.ok(words[1] in catalogues, where);
      useCatalogue(catalogues[words[1]]);
      continue;
    }
    // say MSGID [NAME=VALUE]... -> TEXT
    if (words[0] === "count") continue;
    assert.equal(words[0], "say", where);
    assert.equal(words.at(-2), "->", where);
    const args = Object.fromEntries(words.slice(2, -2).map((pair) => pair.split(/=(.*)/s, 2)));
    assert.equal(t(words[1], args), words.at(-1), where);
  }
});
