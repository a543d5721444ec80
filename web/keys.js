// The keys: a key typed while the terminal has the focus, or while nothing on the page has
// it, goes to the program that runs; a key typed on the page's own controls is theirs, so
// that Enter and Space press the button they are on and Tab moves on, whatever presses them
// (a keyboard, or a screen reader in its browse mode). Tab and Shift+Tab leave the terminal
// as on any page, in every state of the run; only a program that shows what each key
// delivers keeps Tab, and there F6 leaves. F6 goes between the terminal and the controls,
// the run under way or ended. A button or a check box clicked or tapped keeps no focus, so
// that the next key is the program's again.

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

// TERMINAL is the terminal's element; FIRSTCONTROL() the control F6 goes to; CURRENTRUN() the
// run, if any; FOCUSTERMINAL() gives the terminal the focus; KEEPSTAB: Tab is the program's.
export function installKeys({ terminal, firstControl, currentRun, focusTerminal, keepsTab }) {
  const inTerminal = (target) => target instanceof Node && terminal.contains(target);
  const nothingFocused = (target) => target === document.body || target === document.documentElement;
  const leavesTerminal = (event) => event.key === "Tab" && !keepsTab && !event.ctrlKey && !event.altKey;

  function onKey(event) {
    if (event.key === "F6") {
      event.preventDefault();
      if (event.type !== "keydown") return;
      if (inTerminal(document.activeElement)) firstControl().focus();
      else focusTerminal();
      return;
    }
    const run = currentRun();
    if (run === null || run.ended || leavesTerminal(event)) return;
    if (!inTerminal(event.target) && !nothingFocused(event.target)) return;
    event.preventDefault();
    event.stopImmediatePropagation();
    run.key({ down: event.type === "keydown", code: event.code, key: event.key, modifiers: modifiersOf(event) });
  }
  window.addEventListener("keydown", onKey, { capture: true });
  window.addEventListener("keyup", onKey, { capture: true });

  document.addEventListener("click", (event) => {
    if (event.detail === 0) return; // a key or a screen reader pressed it: the focus stays
    setTimeout(() => {
      const control = document.activeElement;
      if (control?.matches("button, input[type=checkbox]") && !inTerminal(control)) control.blur();
    });
  });
}

// What a button types, as the keyboard would: a press and a release.
export function sendKey(run, code, key) {
  if (run === null || run.ended) return;
  for (const down of [true, false]) run.key({ down, code, key, modifiers: 0 });
}
