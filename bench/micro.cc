// Google Benchmark figures, each beside a reference doing the plainer part of the same work.
// Everything draws into the in-memory console; its log of written bytes is forgotten between
// iterations so it never grows.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include "console/console.h"
#include "console/memory/memory_console.h"
#include "dialogues/numbering_dialogue.h"
#include "editor/editor_screen.h"
#include "files/file_names.h"
#include "listing/line_check.h"
#include "listing/line_format.h"
#include "listing/line_table.h"
#include "listing/raw_lines.h"
#include "support/listings.h"
#include "tape/listing_bytes.h"
#include "tape/tape_image.h"

namespace {

namespace fs = std::filesystem;

// A line as a tired typist enters it: blanks between the byte pairs and around the fields.
const std::string TypedLine = "  120  3E 01 D3 FE 21 00 58 11 01 58   1021";
const std::string StoredLine = "120 3E01D3FE210058110158 1021";
const std::string Data = "3E01D3FE210058110158";

void SplitRawLineBench(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(SplitRawLine(TypedLine));
}
BENCHMARK(SplitRawLineBench)->Name("SplitRawLine");

void SplitStoredLineBench(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(SplitStoredLine(StoredLine));
}
BENCHMARK(SplitStoredLineBench)->Name("SplitStoredLine");

void DataChecksumBench(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(Data.data());
    benchmark::DoNotOptimize(CheckLine(Data, "534"));
  }
}
BENCHMARK(DataChecksumBench)->Name("CheckLine");

// The bare decoding of the ten pairs, no checks.
void HexBytesBench(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(Data.data());
    int sum = 0;
    for (size_t i = 0; i < Data.size(); i += 2) sum += HexByte(Data[i], Data[i + 1]);
    benchmark::DoNotOptimize(sum);
  }
}
BENCHMARK(HexBytesBench)->Name("HexByte x10");

fs::path ListingDirectory(int lines) {
  return FastDirectory() /
         ("gravix-bench-" + std::to_string(getpid()) + "-" + std::to_string(lines));
}

// The listing file of that many lines, written once per size.
fs::path ListingFile(int lines) {
  const fs::path path = ListingDirectory(lines) / "listing.txt";
  if (!fs::exists(path)) {
    fs::create_directories(path.parent_path());
    WriteListing(path, lines);
  }
  return path;
}

void LoadBench(benchmark::State& state) {
  const std::string file = ListingFile(static_cast<int>(state.range(0))).string();
  MemoryConsole screen;
  auto table = std::make_unique<LineTable>();
  for (auto _ : state) {
    screen.Keys(" ");  // beyond 5000 lines the table is full: the loader asks for a key
    LoadListingOnScreen(file, DerivedFileName(file, ".bak"), *table, 1);
    state.PauseTiming();
    FreeLineTable(*table);
    fs::remove(DerivedFileName(file, ".bak"));  // each load writes it, as a first start does
    screen.ForgetWrites();
    state.ResumeTiming();
  }
}
BENCHMARK(LoadBench)->Name("LoadListing")->Arg(5000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// Reading the same file line by line and writing its backup: what any loader has to do.
void ReadRawLinesBench(benchmark::State& state) {
  const fs::path file = ListingFile(static_cast<int>(state.range(0)));
  const std::string backup = DerivedFileName(file.string(), ".bak");
  for (auto _ : state) {
    RawLines lines;
    ReadRawLines(file.string(), lines);
    std::string_view raw;
    while (NextRawLine(lines, raw)) benchmark::DoNotOptimize(raw.data());
    benchmark::DoNotOptimize(ReplaceFileSafely(backup, BackupText(lines)));
  }
}
BENCHMARK(ReadRawLinesBench)
    ->Name("ReadRawLine")
    ->Arg(5000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);

// A table of count correct lines, as the loader leaves it.
struct Listing {
  std::unique_ptr<LineTable> table = std::make_unique<LineTable>();
  explicit Listing(int count) {
    int64_t freeBytes = int64_t{1} << 40;
    for (int line = 1; line <= count; ++line) AddLine(*table, line, CorrectLine(line), freeBytes);
    table->count = count;
  }
};

void CompileBench(benchmark::State& state) {
  MemoryConsole screen;
  const Listing listing(5000);
  for (auto _ : state)
    benchmark::DoNotOptimize(
        BuildTapeImage("BENCH", 32768, *TakeListingBytes(*listing.table, 50000)));
}
BENCHMARK(CompileBench)->Name("Compile 50000 bytes")->Unit(benchmark::kMicrosecond);

// The check of every line that the compiler makes before it asks anything.
void CheckLinesBench(benchmark::State& state) {
  MemoryConsole screen;
  const Listing listing(5000);
  for (auto _ : state) {
    benchmark::DoNotOptimize(FirstFaultyLine(*listing.table));
  }
}
BENCHMARK(CheckLinesBench)->Name("Check 5000 lines")->Unit(benchmark::kMicrosecond);

// A digit typed into the data field: the current line redrawn in row 10.
void KeystrokeBench(benchmark::State& state) {
  MemoryConsole screen;
  DrawEditorScreen();
  const std::string typed = CorrectLine(120);
  for (auto _ : state) {
    DrawListingLine(CurrentLineRow, typed);
    screen.ForgetWrites();
  }
}
BENCHMARK(KeystrokeBench)->Name("Keystroke (DrawListingLine)");

void LineChangeBench(benchmark::State& state) {
  MemoryConsole screen;
  const Listing listing(5000);
  DrawEditorScreen();
  for (auto _ : state) {
    DrawEditorPage(120, *listing.table);
    screen.ForgetWrites();
  }
}
BENCHMARK(LineChangeBench)->Name("Line change (DrawEditorPage)");

void WholeScreenBench(benchmark::State& state) {
  MemoryConsole screen;
  const Listing listing(5000);
  for (auto _ : state) {
    DrawEditorScreen();
    DrawEditorPage(120, *listing.table);
    screen.ForgetWrites();
  }
}
BENCHMARK(WholeScreenBench)->Name("Whole editor screen");

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (int lines : {5000, 100000}) {
    std::error_code ignored;
    fs::remove_all(ListingDirectory(lines), ignored);
  }
}
