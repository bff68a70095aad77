#include <gtest/gtest.h>

#include "platform/socket_api.h"

namespace ludora {
namespace {

TEST(SocketAddress, ParsesDottedQuadsWithAndWithoutAPortAndRefusesTheRest) {
  EXPECT_EQ(SocketAddress::Parse("127.0.0.1:27960"), (SocketAddress{0x7F000001, 27960}));
  EXPECT_EQ(SocketAddress::Parse("10.0.0.255"), (SocketAddress{0x0A0000FF, 0}));
  for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "1.2.3.4:0", "1.2.3.4:65536",
                          "1.2.3.4:", " 1.2.3.4", "1.2.3.-4", "1..3.4", "host:27960"})
    EXPECT_FALSE(SocketAddress::Parse(bad)) << bad;
  // Network order in the record, as Windows keeps it.
  const SOCKADDR_IN record = SocketAddress{0x7F000001, 0x6D38}.ToRecord();
  EXPECT_EQ(record.sin_port, 0x386D);
  EXPECT_EQ(record.sin_addr, 0x0100007Fu);
  EXPECT_EQ(SocketAddress::FromRecord(record).ToString(), "127.0.0.1:27960");
}

}  // namespace
}  // namespace ludora
