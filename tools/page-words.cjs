// page-words HTML...: the words of the page's HTML that its catalogue translates, as a PO
// template on standard output: the text of every element marked data-t (its blanks folded,
// as web/words.js reads it) and every aria-label.
"use strict";
const fs = require("node:fs");

const quote = (text) => `"${text.replace(/\\/g, "\\\\").replace(/"/g, '\\"')}"`;
const found = new Map(); // msgid: the files it is in
for (const file of process.argv.slice(2)) {
  const html = fs.readFileSync(file, "utf8");
  const words = [
    ...[...html.matchAll(/<(\w+)[^>]*\sdata-t[\s>][^>]*>([^<]*)<\/\1>|<(\w+)[^>]*\sdata-t>([^<]*)<\/\3>/g)].map((m) => m[2] ?? m[4]),
    ...[...html.matchAll(/\saria-label="([^"]*)"/g)].map((m) => m[1]),
  ];
  for (const text of words.map((w) => w.replace(/\s+/g, " ").trim()).filter(Boolean))
    found.set(text, [...new Set([...(found.get(text) ?? []), file])]);
}
for (const [text, files] of found) console.log(`#: ${files.join(" ")}\nmsgid ${quote(text)}\nmsgstr ""\n`);
