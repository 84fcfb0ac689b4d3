#pragma once
// The stream in which the reader program hands the pages of a help file
// to the viewer: for each page a 32-bit path length, the path, a 64-bit
// data length and the data, in this machine's byte order; a path length
// of 0 says the whole file was read. The program is named on the command
// line: murvel-chmpages FILE MILLISECONDS PAGE_BYTES TOTAL_BYTES PAGES MEMORY
#include <cstdint>

namespace chmstream {

constexpr std::uint32_t EndOfPages = 0;
constexpr std::uint32_t MaxPathLength = 4096;
constexpr char ReaderName[] = "murvel-chmpages";

} // namespace chmstream
