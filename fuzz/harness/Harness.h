#pragma once

#include <cstdint>
#include <filesystem>

#include "base/Bytes.h"

// The bodies of the fuzz harnesses. Each takes one input of any length, runs
// it through the tool's code and checks what must hold for every input: no
// crash, no error other than pomvella::Error, and the harness's own
// properties. A broken property aborts the process, which libFuzzer reports
// as a crash and a replay test as a failure. The libFuzzer entry points and
// the replay test call the same functions.
namespace pomvella::fuzz {

// Input: a 16-bit little-endian split point, then the index file's bytes (as
// many as the split point says, at most what is there), then the data file's.
// Opens the archive, walks the records and converts every entry the way the
// temporary texture file is made, checking the file against the in-memory
// conversion of the same bytes.
void FuzzArchive(ByteSpan input);

// DecodeBmp on the input; a picture that decodes must survive the writers:
// EncodeBmp24 then DecodeBmp gives ConvertTo24 of it, and an 8-bit picture
// comes back unchanged through EncodeBmp8.
void FuzzBmpReader(ByteSpan input);

// Input: source and target sizes (0 to 64 each), format, palette and pixels.
// The scaler must match a direct evaluation of the area-average formula, keep
// black black and leave a same-size picture unchanged; flood fill and
// rectangle fill on the result must change exactly what they should.
void FuzzScaler(ByteSpan input);

// Input: a colour-count selector, format, sizes (0 to 64; a picture without
// columns may claim any height) and pixels. ReduceColors must refuse a count
// outside 2 to 256 (line 171) and an 8-bit picture (line 172); otherwise
// every index names a used palette entry, at most N of them, each the mean of
// its pixels, with colours of one depth-6 cell sharing an entry.
void FuzzOctree(ByteSpan input);

// Input: a sample-archive variant, a cut of the data file, then 4-byte
// patches over the index and data file. Runs BuildCharacterFiles into a
// character folder of its own; the folder may only ever hold complete outputs
// and no temporary file may remain.
void FuzzBuild(ByteSpan input);

// A folder of this process's own for harnesses that need files, removed at exit.
const std::filesystem::path& ScratchFolder();

[[noreturn]] void CheckFailed(const char* condition, const char* file, int line);

}  // namespace pomvella::fuzz

#define POMVELLA_FUZZ_CHECK(condition)                                     \
    do {                                                                   \
        if (!(condition))                                                  \
            ::pomvella::fuzz::CheckFailed(#condition, __FILE__, __LINE__); \
    } while (false)
