// A long A2S answer (a busy server's players, its rules) comes in pieces,
// each starting -2 (FE FF FF FF) and the answer's ID, a 32-bit number. Two
// layouts follow the ID:
//   Source:  the total of pieces (a byte), this piece's number (a byte),
//            then, but for the oldest engines, the largest piece's size (a
//            short); a set top bit in the ID says the answer is compressed.
//   GoldSrc: one byte, this piece's number in its upper four bits and the
//            total in the lower four.
// Which one a server uses is read from its piece number 0, the only one whose
// payload is known: it is the whole answer's beginning, the -1 header. The
// header sits at byte 12 (Source), 10 (Source without the size) or 9
// (GoldSrc), and at no two of them at once: Source's number byte 0 is not a
// header byte, nor a size of FFFF. The pieces that come before number 0 are
// held as they came until then.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ludora::lobbyfind {

inline constexpr std::size_t kMaxPieces = 16;
inline constexpr std::size_t kMaxJoined = 16384;  // bytes of a joined answer

// Whether a datagram is a piece of a split answer.
bool IsPiece(std::string_view datagram);

class A2sPieces {
 public:
  enum class Step {
    Waiting,     // held; more are to come
    Whole,       // the answer is joined: whole() holds it
    Ignored,     // a piece of another answer than the one being joined
    Compressed,  // not read: the answer is dropped
    Bad          // beyond the bounds or inconsistent: the answer is dropped
  };
  // Takes one piece of the answer (the first piece's ID names it). After
  // Whole, Compressed and Bad, the pieces are let go.
  Step Add(std::string_view piece);
  const std::string& whole() const { return whole_; }
  // Forgets the pieces: the question was asked again, or given up.
  void Clear();

 private:
  Step Drop(Step step);

  std::uint32_t id_ = 0;
  std::vector<std::string> held_;  // the pieces as they came, distinct
  std::size_t bytes_ = 0;
  std::string whole_;
};

}  // namespace ludora::lobbyfind
