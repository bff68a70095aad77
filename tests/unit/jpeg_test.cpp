// The skins' own decoder: the pictures as an image tool shows them, no
// damaged picture read past its end, and no other kind of picture read.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <tuple>

#include "picture/jpeg_picture.h"

namespace ludora {
namespace {

std::vector<std::uint8_t> Resource(const std::string& name) {
  std::ifstream file(std::string(LUDORA_RESOURCES) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

TEST(JpegPicture, DecodesTheSkinsAsImageToolsDo) {
  const struct {
    const char* file;
    int width, height;
    std::vector<std::tuple<int, int, std::uint32_t>> pixels;  // as ImageMagick decodes them
  } skins[] = {
      {"bar_skin.jpg",
       343,
       22,
       {{0, 0, 0x616E81}, {100, 5, 0x2D333F}, {200, 11, 0x030915}, {342, 21, 0x000301}}},
      {"defrag_skin.jpg",
       315,
       92,
       {{0, 0, 0x6D788A}, {150, 40, 0xF2F6F9}, {314, 91, 0x040507}, {60, 70, 0x125148}}},
  };
  for (const auto& skin : skins) {
    const auto picture = DecodeJpeg(Resource(skin.file));
    ASSERT_TRUE(picture) << skin.file;
    EXPECT_EQ(picture->width, skin.width);
    EXPECT_EQ(picture->height, skin.height);
    for (const auto& [x, y, expected] : skin.pixels) {
      const std::uint32_t got = picture->pixels.at(static_cast<std::size_t>(y) * skin.width + x);
      for (const int shift : {0, 8, 16}) {
        EXPECT_NEAR(got >> shift & 255, expected >> shift & 255, 3)
            << skin.file << " " << x << "," << y;
      }
    }
  }
}

TEST(JpegPicture, DamagedPicturesGiveNothingWithoutAFault) {
  const std::vector<std::uint8_t> good = Resource("bar_skin.jpg");
  for (std::size_t length = 0; length + 2 < good.size(); length += 29)
    EXPECT_FALSE(DecodeJpeg(std::span(good).first(length))) << length;  // no end marker
  for (std::size_t at = 0; at < good.size(); at += 31) {
    std::vector<std::uint8_t> damaged = good;
    damaged[at] ^= 0xA5;
    if (const auto picture = DecodeJpeg(damaged)) {
      EXPECT_EQ(picture->pixels.size(), std::size_t(picture->width) * picture->height);
    }
  }
}

// Only the kind of picture the skins are is read: each of these differs from
// a skin in one respect.
TEST(JpegPicture, RefusesWhatTheSkinsAreNot) {
  const std::vector<std::uint8_t> good = Resource("bar_skin.jpg");
  const std::uint8_t baseline[] = {0xFF, 0xC0};
  const auto frame =
      std::search(good.begin(), good.end(), std::begin(baseline), std::end(baseline));
  ASSERT_NE(frame, good.end());
  const auto at = static_cast<std::size_t>(frame - good.begin());
  const struct {
    const char* what;
    std::size_t offset;  // from the frame's marker
    std::uint8_t value;
  } changes[] = {
      {"extended sequential frame", 1, 0xC1},
      {"progressive frame", 1, 0xC2},
      {"12-bit samples", 4, 12},
      {"luma sampled 2x2", 11, 0x22},
  };
  for (const auto& change : changes) {
    std::vector<std::uint8_t> other = good;
    other[at + change.offset] = change.value;
    EXPECT_FALSE(DecodeJpeg(other)) << change.what;
  }
  std::vector<std::uint8_t> restarts = good;  // an interval of 1 MCU, never met in the data
  const std::uint8_t interval[] = {0xFF, 0xDD, 0, 4, 0, 1};
  restarts.insert(restarts.begin() + static_cast<std::ptrdiff_t>(at), std::begin(interval),
                  std::end(interval));
  EXPECT_FALSE(DecodeJpeg(restarts));
}

}  // namespace
}  // namespace ludora
