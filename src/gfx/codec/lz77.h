// The LZ77 coder of the packed images, free of any platform need so that the packer, the fuzzer
// and the benchmarks use exactly the code the program runs.
//
// Stream: bits are taken most significant first, tokens follow each other without alignment.
//   literal  1 + 8 bits          output the byte
//   match    0 + 5-bit L + 9-bit P   output L + 1 bytes copied from window position P
// The window is the last 512 output bytes, position 0 the oldest, and starts as 512 zeros, so P
// means distance 512 - P back from the next output byte; a match may overlap its own output.
//
// End rule: decoding stops after the token during which the reader loads the last payload byte,
// which happens when it has used up every bit of the byte before it. Tokens that start before
// bit 8 * (N - 1) of an N-byte payload are therefore decoded, the last of them reading zeros
// past the payload if it runs that far; a payload of 0 or 1 bytes decodes to nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// Largest distance back a match can reach, and the size of the window.
inline constexpr size_t kLz77Window = 512;
// Longest match: the 5-bit length field counts from 1.
inline constexpr size_t kLz77MaxMatch = 32;

// Compresses data into a payload that decodes to exactly data under the end rule above. The
// parse is optimal for the fixed token costs (9 bits a literal, 15 a match); among equally short
// parses it prefers fewer tokens and far matches, which the decoder copies fastest.
std::vector<uint8_t> Lz77Encode(std::span<const uint8_t> data);

// Decodes payload into out and returns the number of bytes produced within out. Output past the
// end of out is dropped (decoding stops once out is full); bytes of out past the returned count
// are left as they were.
size_t Lz77Inflate(std::span<const uint8_t> payload, std::span<uint8_t> out);

// The same stream decoded bit by bit, exactly as the format is described, into a vector that
// holds the whole output. Slow; the tests and the fuzzer hold the fast decoder against it.
std::vector<uint8_t> Lz77InflateReference(std::span<const uint8_t> payload);

// The packed-image container: payload length N as 4 bytes little-endian, then N payload bytes.
std::vector<uint8_t> PackContainer(std::span<const uint8_t> payload);

// The payload of a container, or nothing when it is shorter than its 4-byte header. A length
// that claims more bytes than the container holds gives the bytes that are there; bytes after
// the payload are ignored.
std::optional<std::span<const uint8_t>> ContainerPayload(std::span<const uint8_t> container);
