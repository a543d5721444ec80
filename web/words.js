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

// The strings of a GNU .mo file: each original and its translation. Bytes that are no
// catalogue, or not all of one (a load cut short), give none: nothing beyond the end is read.
function readCatalogue(buffer) {
  const found = new Map();
  const size = buffer.byteLength;
  if (size < 20) return found;
  const view = new DataView(buffer);
  const magic = view.getUint32(0, true);
  const little = magic === 0x950412de;
  if (!little && magic !== 0xde120495) return found;
  const word = (at) => view.getUint32(at, little);
  const [count, originals, translations] = [word(8), word(12), word(16)];
  if (count * 8 > size || originals > size - count * 8 || translations > size - count * 8) return found;
  const text = new TextDecoder();
  const string = (table, k) => {
    const [length, at] = [word(table + 8 * k), word(table + 8 * k + 4)];
    return at <= size && length <= size - at ? text.decode(new Uint8Array(buffer, at, length)) : null;
  };
  for (let k = 0; k < count; k++) {
    const [original, translation] = [string(originals, k), string(translations, k)];
    if (original !== null && translation) found.set(original.split("\0")[0], translation);
  }
  return found;
}

// The words from now on come from BUFFER, a catalogue's bytes (null: none, English).
export function useCatalogue(buffer) {
  translations = buffer ? readCatalogue(buffer) : new Map();
  catalogueBytes = buffer ? new Uint8Array(buffer) : null;
}

// Loads the words of LANGUAGE and puts them into the page DOCUMENT: its <html lang>, every
// element marked data-t and every aria-label.
export async function loadWords(language, document) {
  document.documentElement.lang = language;
  if (language === "en") return;
  const response = await fetch(`${language}.mo`).catch(() => null);
  if (!response?.ok) return; // the page stays English, as it is written
  useCatalogue(await response.arrayBuffer());
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
