// The page's words in its language: English as the page and its modules write them, or
// their Russian from the one catalogue (ru.mo, which msgfmt compiles from po/ru.po at build
// time, and which the program carries too). The language is ?lang=ru or ?lang=en, else the
// first of the browser's languages that the page has, else English.

const LANGUAGES = ["en", "ru"];
let translations = new Map(); // msgid: its translation, the plural forms apart by NULs
let catalogueBytes = null; // the catalogue loaded, which the page's program reads too

// The catalogue of the page's language, as loaded: null for English.
export const catalogue = () => catalogueBytes;

// The language the address or the browser asks for.
export function chooseLanguage(search, preferred) {
  const asked = new URLSearchParams(search).get("lang");
  if (LANGUAGES.includes(asked)) return asked;
  return preferred.map((tag) => tag.slice(0, 2).toLowerCase()).find((tag) => LANGUAGES.includes(tag)) ?? "en";
}

// The strings of a GNU .mo file: each original and its translation.
function readCatalogue(buffer) {
  const view = new DataView(buffer);
  const little = view.getUint32(0, true) === 0x950412de;
  const word = (at) => view.getUint32(at, little);
  const text = new TextDecoder();
  const string = (table, k) => text.decode(new Uint8Array(buffer, word(table + 8 * k + 4), word(table + 8 * k)));
  const found = new Map();
  for (let k = 0; k < word(8); k++) found.set(string(word(12), k).split("\0")[0], string(word(16), k));
  return found;
}

// Loads the words of LANGUAGE and puts them into the page DOCUMENT: its <html lang>, every
// element marked data-t and every aria-label.
export async function loadWords(language, document) {
  document.documentElement.lang = language;
  if (language === "en") return;
  const response = await fetch(`${language}.mo`).catch(() => null);
  if (!response?.ok) return; // the page stays English, as it is written
  const buffer = await response.arrayBuffer();
  translations = readCatalogue(buffer);
  catalogueBytes = new Uint8Array(buffer);
  for (const element of document.querySelectorAll("[data-t]"))
    element.textContent = t(element.textContent.replace(/\s+/g, " ").trim());
  for (const element of document.querySelectorAll("[aria-label]"))
    element.setAttribute("aria-label", t(element.getAttribute("aria-label")));
}

// PATTERN with each {name} replaced by ARGS[name].
function fill(pattern, args) {
  return pattern.replace(/\{(\w+)\}/g, (whole, name) => (name in args ? String(args[name]) : whole));
}

// TEXT in the page's language, its placeholders filled from ARGS.
export function t(text, args = {}) {
  return fill(translations.get(text) ?? text, args);
}

// The form of a Russian word for N: as the catalogue's Plural-Forms and the program say.
function russianForm(n) {
  if (n % 10 === 1 && n % 100 !== 11) return 0;
  return n % 10 >= 2 && n % 10 <= 4 && (n % 100 < 10 || n % 100 >= 20) ? 1 : 2;
}

// SINGULAR or PLURAL in the page's language, in the form N takes; {n} is N.
export function tn(singular, plural, n, args = {}) {
  const forms = translations.get(singular)?.split("\0");
  const form = forms ? forms[russianForm(n)] : n === 1 ? singular : plural;
  return fill(form, { n, ...args });
}
