// Narration: what the page says of the run, all of it learnt from the program, which tells
// the page each screen's kind and its step in a sentence (SAY in the visualizer). The
// status line says what the program waits for and how its run ended; a polite live region
// says the step in words; the line of the code that the step carries out is marked.

const statusLine = document.getElementById("status");
const stepLine = document.getElementById("step-said");
const codeLines = [...document.querySelectorAll("#code li")];

// During auto-play the live region changes at most once in this time, about what a screen
// reader takes to say one sentence; the latest step is said when it has passed, the ones
// between are left out.
const LISTEN_MS = 3000;
let lastSaid = -Infinity;
let pending = null;
let timer = null;

export function say(words) {
  statusLine.textContent = words;
}

// Says MESSAGE with a link that offers the run of the menu (the address without choices).
export function sayWithWayBack(message, words = "Back to the demonstration", href = "?") {
  statusLine.textContent = `${message} `;
  statusLine.append(Object.assign(document.createElement("a"), { href, textContent: words }));
}

function sayStep(sentence) {
  clearTimeout(timer);
  timer = null;
  pending = null;
  lastSaid = performance.now();
  stepLine.textContent = sentence;
}

// The step the program shows: the code's line marked at once, the sentence said now or,
// under AUTOPLAY, once a person has had the time to hear the one before.
function showStep(kind, sentence, autoPlay) {
  for (const line of codeLines)
    if (line.dataset.kinds.split(" ").includes(kind)) line.setAttribute("aria-current", "step");
    else line.removeAttribute("aria-current");
  const wait = lastSaid + LISTEN_MS - performance.now();
  if (!autoPlay || wait <= 0) return sayStep(sentence);
  pending = sentence;
  timer ??= setTimeout(() => sayStep(pending), wait);
}

// A new run: nothing said yet.
export function forgetSteps() {
  clearTimeout(timer);
  timer = null;
  pending = null;
  lastSaid = -Infinity;
  stepLine.textContent = "";
  for (const line of codeLines) line.removeAttribute("aria-current");
}

const WAITING = {
  menu: "choose an array",
  question: "predict: Yes (Y) or No (N)",
  totals: "type a line and press Enter",
};

// The program waits: the page says for what, from what the program last said of its
// screen (KIND and SENTENCE; none from a program that says nothing of its steps).
export function sayWaiting(note, autoPlay) {
  if (note === null) return say("press a key to see what it delivers");
  showStep(note.kind, note.sentence, autoPlay && note.kind !== "question");
  if (WAITING[note.kind]) return say(WAITING[note.kind]);
  if (autoPlay) return say("playing by itself: Space or Next for the next step, P to pause");
  say("press Space or Next for the next step, Left or Back for the one before");
}

export function sayEnded(run, status) {
  const words = { 0: "finished", 100: "stopped with Esc", 2: run.said.at(-1) };
  say(words[status] ?? `ended with status ${status}`);
}
