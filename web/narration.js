// Narration: the status line, in plain words, says what the program waits for and how its
// run ended.

const statusLine = document.getElementById("status");

export function say(words) {
  statusLine.textContent = words;
}

// Says MESSAGE with a link that offers the run of the menu (the address without choices).
export function sayWithWayBack(message, words = "Back to the demonstration", href = "?") {
  statusLine.textContent = `${message} `;
  statusLine.append(Object.assign(document.createElement("a"), { href, textContent: words }));
}

// What the program waits for, in plain words, from what the terminal shows.
export function sayWaiting(run, autoPlay) {
  if (run.program !== "insertion-sort-demo") return say("press a key to see what it delivers");
  const buffer = run.term.buffer.active;
  const row = (y) => buffer.getLine(buffer.viewportY + y)?.translateToString(true) ?? "";
  for (let y = 0; y < run.term.rows; y++)
    if (row(y).startsWith("Total movings")) return say("type a line and press Enter");
  if (buffer.cursorX === 0 && row(buffer.cursorY - 1).startsWith("4 ")) return say("choose an array");
  if (autoPlay) return say("playing by itself: Space or Next for the next step, P to pause");
  return say("press Space or Next for the next step");
}

export function sayEnded(run, status) {
  const words = { 0: "finished", 100: "stopped with Esc", 2: run.said.at(-1) };
  say(words[status] ?? `ended with status ${status}`);
}
