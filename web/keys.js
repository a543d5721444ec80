// The keys: while a program runs, every key goes to it, whether the terminal was clicked or
// tapped (xterm.js then holds the focus in a text area of its own), a button or a check box
// was clicked, or nothing has the focus; what is typed into the page's own fields stays
// theirs. F6 gives the keyboard back to the
// page's controls, where Tab moves on as anywhere; F6 again, a click or a tap on the
// terminal, or a run started from the controls gives it to the program again.

let released = false; // the keyboard is the page's, after F6

// The flags of a key event as the program takes them.
function modifiersOf(event) {
  return (
    (event.shiftKey ? 1 : 0) |
    (event.ctrlKey ? 2 : 0) |
    (event.altKey ? 4 : 0) |
    (event.getModifierState("AltGraph") ? 8 : 0) |
    (event.getModifierState("CapsLock") ? 16 : 0) |
    (event.getModifierState("NumLock") ? 32 : 0) |
    (event.getModifierState("ScrollLock") ? 64 : 0)
  );
}

export function installKeys({ terminal, firstControl, currentRun, focusTerminal }) {
  const inTerminal = (target) => target instanceof Node && terminal.contains(target);
  const pageField = (target) =>
    target instanceof Element && target.matches("input:not([type=checkbox]), select, textarea") && !inTerminal(target);

  function onKey(event) {
    const run = currentRun();
    if (run === null || run.ended) return;
    if (event.key === "F6") {
      event.preventDefault();
      if (event.type !== "keydown") return;
      released = !released;
      if (released) firstControl().focus();
      else focusTerminal();
      return;
    }
    if (released || pageField(event.target)) return;
    event.preventDefault();
    event.stopImmediatePropagation();
    run.key({ down: event.type === "keydown", code: event.code, key: event.key, modifiers: modifiersOf(event) });
  }
  window.addEventListener("keydown", onKey, { capture: true });
  window.addEventListener("keyup", onKey, { capture: true });
  // A click or a tap on the terminal, or the focus coming to it, gives it the keyboard.
  terminal.addEventListener("pointerdown", () => (released = false));
  terminal.addEventListener("focusin", () => (released = false));
}

// A run started from the controls takes the keyboard.
export function takeKeyboard() {
  released = false;
}

// What a button types, as the keyboard would: a press and a release.
export function sendKey(run, code, key) {
  if (run === null || run.ended) return;
  for (const down of [true, false]) run.key({ down, code, key, modifiers: 0 });
}
