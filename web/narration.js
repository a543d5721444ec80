// Narration: what the page says of the run, all of it learnt from the program, which
// describes each screen it shows (its kind, its step in a sentence, where the run stands).
// The status line shows what the program waits for; one polite live region, the page's
// only voice, says each step once, the run's end, and what a person asks for; the line of
// the code that the step carries out is marked.
import { AWAITS } from "./screens.js";
import { t } from "./words.js";

// During auto-play the voice changes at most once in this time, about what a screen reader
// takes to say one sentence; the latest step is said when it has passed, the ones between
// are left out.
const LISTEN_MS = 3000;

let statusLine = null;
let voice = null;
let codeLines = [];
let lastSaid = -Infinity;
let pending = null;
let timer = null;

// STATUS shows what the program waits for, VOICE is the live region, CODE the list of the
// code's lines.
export function initNarration({ status, voice: region, code }) {
  statusLine = status;
  voice = region;
  codeLines = [...code.querySelectorAll("li")];
}

// Shows WORDS on the status line; only a change is written.
export function show(words) {
  if (statusLine.textContent !== words) statusLine.textContent = words;
}

// A screen reader reads out a page that has just loaded and drops what a live region says
// meanwhile: the voice speaks this long after the load at the soonest, and what it was to
// say before, it says then.
const AFTER_LOAD_MS = 1500;
let heard = false;
let held = null;
new Promise((resolve) =>
  document.readyState === "complete" ? resolve() : addEventListener("load", () => resolve(), { once: true }),
)
  .then(() => new Promise((resolve) => setTimeout(resolve, AFTER_LOAD_MS)))
  .then(() => {
    heard = true;
    if (held !== null) speak(held);
  });

// The voice speaks at once now.
export const voiceHeard = () => heard;

// Says WORDS now, or once the page's load has been read out.
export function speak(words) {
  clearTimeout(timer);
  timer = null;
  pending = null;
  held = heard ? null : words;
  if (!heard) return;
  lastSaid = performance.now();
  voice.textContent = words;
}

// Shows and says MESSAGE with a link that offers another run (the menu's by default).
export function sayWithWayBack(message, words = t("Back to the demonstration"), href = "?") {
  statusLine.textContent = `${message} `;
  statusLine.append(Object.assign(document.createElement("a"), { href, textContent: words }));
  speak(message);
}

// The step the program shows: the code's line marked at once, the sentence said now or,
// under AUTOPLAY, once a person has had the time to hear the one before.
function sayStep(screen, autoPlay) {
  codeLines.forEach((line, k) =>
    k + 1 === screen.line ? line.setAttribute("aria-current", "step") : line.removeAttribute("aria-current"),
  );
  const wait = lastSaid + LISTEN_MS - performance.now();
  if (!autoPlay || wait <= 0) return speak(screen.sentence);
  pending = screen.sentence;
  timer ??= setTimeout(() => speak(pending), wait);
}

// A new run: nothing said yet.
export function forgetSteps() {
  paused = false;
  clearTimeout(timer);
  timer = null;
  pending = null;
  held = null;
  lastSaid = -Infinity;
  voice.textContent = "";
  for (const line of codeLines) line.removeAttribute("aria-current");
}

// What the program waits for, as its description of the screen says (screen_kinds.hpp).
const WAITING = {
  [AWAITS.choice]: () => t("choose an array"),
  [AWAITS.answer]: () => t("predict: Yes (Y) or No (N)"),
  [AWAITS.line]: () => t("type a line and press Enter"),
  [AWAITS.action]: () => t("your turn: Left and Right move the cursor, Down takes and puts down, Left moves"),
};

const PLAYING = () => t("playing by itself: Space or Next for the next step, P to pause");
const PAUSED = () => t("paused: P or Pause plays on, Space or Next gives the next step");
// Auto-play paused, as the program last said (it says so when P is pressed).
let paused = false;

// The program waits: the page says for what, from its last description of its screen
// (SCREEN; null from a program that describes none).
export function sayWaiting(screen, autoPlay) {
  if (screen === null) return show(t("press a key to see what it delivers"));
  // A pause is said at once, for it answers a key.
  if ("paused" in screen) {
    paused = screen.paused;
    const words = paused ? PAUSED() : PLAYING();
    show(words);
    return speak(words);
  }
  sayStep(screen, autoPlay && screen.awaits !== AWAITS.answer);
  if (WAITING[screen.awaits]) return show(WAITING[screen.awaits]());
  if (autoPlay) return show(paused ? PAUSED() : PLAYING());
  show(t("press Space or Next for the next step, Left or Back for the one before"));
}

export function sayEnded(run, status) {
  const words = { 0: t("finished"), 100: t("stopped with Esc"), 2: run.said.at(-1) };
  show(words[status] ?? t("ended with status {status}", { status }));
  speak(statusLine.textContent);
}
