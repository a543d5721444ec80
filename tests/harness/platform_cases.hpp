// The behaviour cases that every platform's driver runs (tests/cases/platform.cases): read
// from the file, and run step by step against a driver that knows how to start a program,
// type a key, wait, and read a cell.
#pragma once

#include <string>
#include <vector>

namespace e2e {

struct CaseStep {
  int line = 0;
  std::string verb;
  std::vector<std::string> args;  // a quoted argument without its quotes
};

struct PlatformCase {
  std::string name;
  std::string program;
  std::vector<std::string> args;  // the program's command line
  std::string language;           // "ru" for Russian; empty for the platform's English
  std::vector<CaseStep> steps;
  // Every key the case types, once each, in the order they first come.
  std::vector<std::string> Keys() const;
  // A test's name for the case that stands INDEX-th in the file (from 0).
  std::string TestName(std::size_t index) const;
};

// A line of a file of cases that says something: its number in the file, its text, and its
// words (a word in double quotes may hold blanks, and stands without its quotes).
struct CaseLine {
  int number = 0;
  std::string text;
  std::vector<std::string> words;
};

// The lines of the file of cases at PATH, its comments and blank lines passed over; no file
// fails the calling test.
std::vector<CaseLine> ReadCaseLines(const std::string& path);

// The cases of the file, in order; its lines are checked against the grammar line of the
// table, as every driver checks them, and a malformed one fails the calling test.
std::vector<PlatformCase> ReadPlatformCases(const std::string& path);

// What a driver does on its platform. Rows and columns count from 1.
class CaseDriver {
 public:
  virtual ~CaseDriver() = default;
  // Starts the case's program; true once it waits for its first key.
  virtual bool Start(const PlatformCase& c) = 0;
  // Types KEY; true once the program waits for a key again. False too for a key the
  // driver cannot type.
  virtual bool Press(const std::string& key) = 0;
  // Types KEY; the program's exit status once it has ended, -1 when it does not end.
  virtual int End(const std::string& key) = 0;
  // Row ROW as a person sees it: hidden cells blank, trailing blanks left out.
  virtual std::string VisibleRow(int row) = 0;
  // grey, lightred, lightgreen or hidden; anything else names the colour found.
  virtual std::string Colour(int column, int row) = 0;
  virtual int CursorRow() = 0;
  virtual int CursorColumn() = 0;
};

// Runs C against DRIVER, each step's failure a test failure naming its line.
void RunPlatformCase(const PlatformCase& c, CaseDriver& driver);

}  // namespace e2e
