// Sound, on request: a short tone for each comparison, higher for a larger compared value,
// and another kind of tone for each move. Nothing sounds, and no audio context exists,
// before a person turns it on.

import { KIND } from "./screens.js";

const TONE_S = 0.12;
const LOWEST_HZ = 220;
const OCTAVES = 2;

// TOGGLE is the check box that turns it on.
export function createSound(toggle) {
  let audio = null;
  let free = 0; // when the last tone ends: tones asked for together sound one after another
  toggle.addEventListener("change", () => {
    if (toggle.checked) audio ??= new AudioContext();
    audio?.resume();
  });

  function tone(hz, wave) {
    const start = Math.max(audio.currentTime, free);
    free = start + TONE_S;
    const oscillator = new OscillatorNode(audio, { type: wave, frequency: hz });
    const gain = new GainNode(audio, { gain: 0 });
    // A soft start and end, so that no click is heard.
    gain.gain.linearRampToValueAtTime(0.2, start + 0.01);
    gain.gain.linearRampToValueAtTime(0, start + TONE_S);
    oscillator.connect(gain).connect(audio.destination);
    oscillator.start(start);
    oscillator.stop(start + TONE_S);
  }

  return {
    get on() {
      return toggle.checked && audio !== null;
    },
    // The tone of SCREEN, the program's description of what it shows: a comparison's pitch
    // from the compared value, within the values on the screen; a move's from the value moved.
    play(screen) {
      if (!this.on || !screen?.places) return;
      const shown = screen.places.map(([value]) => value).filter((value) => value !== null);
      const heard = screen.kind === KIND.compare ? screen.places.find(([, role]) => role === "larger" || role === "notlarger")
        : screen.kind === KIND.move ? screen.places[screen.places.findIndex(([, role]) => role === "gap") + 1] : null;
      if (!heard) return;
      const [low, high] = [Math.min(...shown), Math.max(...shown)];
      const at = high > low ? (heard[0] - low) / (high - low) : 0.5;
      tone(LOWEST_HZ * 2 ** (OCTAVES * at), screen.kind === KIND.move ? "triangle" : "sine");
    },
  };
}
