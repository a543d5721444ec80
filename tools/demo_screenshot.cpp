// demo-screenshot: runs the demonstration in the test terminal, presses the given keys,
// and writes the screen as an SVG picture, cell by cell as the emulator holds it.
//   demo-screenshot OUTPUT.svg KEYS...   (each KEYS argument is typed, then waited on)
#include <cstdio>
#include <fstream>
#include <string>

#include "pty_terminal.hpp"

namespace {

// The xterm palette for the colours the program uses; the default colours of a dark theme,
// whose foreground is the console's light grey (the program's normal text colour).
const char* Colour(int index, bool foreground) {
  switch (index) {
    case 0: return "#000000";
    case 7: return "#c0c0c0";
    case 9: return "#ff5f5f";
    case 10: return "#5fff5f";
    case -1: return foreground ? "#c0c0c0" : "#000000";
    default: return "#ff00ff";
  }
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out.push_back(c);
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: demo-screenshot OUTPUT.svg KEYS...\n");
    return 2;
  }
  constexpr int kColumns = 80, kRows = 25;
  e2e::PtyTerminal terminal(kColumns, kRows);
  terminal.Start(DEMO);
  if (!terminal.WaitForKeyWait()) return 1;
  for (int i = 2; i < argc; ++i) {
    terminal.Type(argv[i]);
    if (!terminal.WaitForKeyWait()) return 1;
  }
  int last_row = kRows;
  while (last_row > 1 && terminal.Row(last_row).empty() && terminal.CursorRow() < last_row)
    --last_row;

  constexpr double kWidth = 9.0, kHeight = 19.0, kMargin = 10.0;
  std::ofstream svg(argv[1]);
  svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << kColumns * kWidth + 2 * kMargin
      << "\" height=\"" << last_row * kHeight + 2 * kMargin << "\" font-family=\"monospace\" "
      << "font-size=\"15\">\n<rect width=\"100%\" height=\"100%\" fill=\"" << Colour(-1, false)
      << "\"/>\n";
  for (int row = 1; row <= last_row; ++row) {
    for (int column = 1; column <= kColumns;) {
      const int colour = terminal.Cell(column, row).foreground;
      std::string run;
      const int start = column;
      while (column <= kColumns && terminal.Cell(column, row).foreground == colour)
        run += terminal.Cell(column++, row).text;
      if (run.find_first_not_of(' ') == std::string::npos) continue;
      svg << "<text x=\"" << kMargin + (start - 1) * kWidth << "\" y=\""
          << kMargin + row * kHeight - 5 << "\" fill=\"" << Colour(colour, true)
          << "\" xml:space=\"preserve\" textLength=\"" << (column - start) * kWidth << "\">"
          << Escape(run) << "</text>\n";
    }
  }
  // The cursor, where the program waits.
  svg << "<rect x=\"" << kMargin + (terminal.CursorColumn() - 1) * kWidth << "\" y=\""
      << kMargin + (terminal.CursorRow() - 1) * kHeight + 2 << "\" width=\"" << kWidth
      << "\" height=\"" << kHeight - 2 << "\" fill=\"" << Colour(-1, true)
      << "\" opacity=\"0.6\"/>\n";
  svg << "</svg>\n";
  return 0;
}
