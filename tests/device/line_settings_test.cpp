// CSerialPort::ApplyLineSettings: parity letters, stop bits, data bits and speed in termios.
#include <gtest/gtest.h>

#include <termios.h>

#include "device/serial_port.h"

namespace velorin {
namespace {

// Starts from settings that have every parity, stop-bit and size flag set, so that each case
// also shows what is cleared.
struct termios Applied(char parity, int dataBits = 8, int stopBits = 1, int baud = 115200) {
    struct termios t {};
    t.c_cflag = PARENB | PARODD | CMSPAR | CSTOPB | CSIZE;
    t.c_iflag = INPCK;
    EXPECT_TRUE(CSerialPort::ApplyLineSettings(baud, parity, dataBits, stopBits, t));
    return t;
}

constexpr tcflag_t kParityBits = PARENB | PARODD | CMSPAR;

TEST(LineSettings, ParityLettersInEitherCase) {
    struct Case {
        char letter;
        tcflag_t parity;
    };
    const Case cases[] = {{'E', PARENB},
                          {'e', PARENB},
                          {'O', PARENB | PARODD},
                          {'o', PARENB | PARODD},
                          {'M', PARENB | CMSPAR | PARODD},
                          {'m', PARENB | CMSPAR | PARODD},
                          {'S', PARENB | CMSPAR},
                          {'s', PARENB | CMSPAR}};
    for (const Case& c : cases) {
        const struct termios t = Applied(c.letter);
        EXPECT_EQ(t.c_cflag & kParityBits, c.parity) << c.letter;
        EXPECT_NE(t.c_iflag & INPCK, 0u) << c.letter << ": parity checking on";
    }
}

TEST(LineSettings, NoneAndAnyOtherLetterMeanNoParity) {
    for (char letter : {'N', 'n', 'x', 'Q', '\0', '1'}) {
        const struct termios t = Applied(letter);
        EXPECT_EQ(t.c_cflag & kParityBits, 0u) << int(letter);
        EXPECT_EQ(t.c_iflag & INPCK, 0u) << int(letter);
    }
}

TEST(LineSettings, StopBits) {
    EXPECT_EQ(Applied('N', 8, 1).c_cflag & CSTOPB, 0u);
    EXPECT_EQ(Applied('N', 8, 2).c_cflag & CSTOPB, tcflag_t{CSTOPB});
    EXPECT_EQ(Applied('N', 8, 3).c_cflag & CSTOPB, 0u);
    EXPECT_EQ(Applied('N', 8, 0).c_cflag & CSTOPB, 0u);
}

TEST(LineSettings, DataBitsAndSpeed) {
    EXPECT_EQ(Applied('N', 8).c_cflag & CSIZE, tcflag_t{CS8});
    EXPECT_EQ(Applied('N', 7).c_cflag & CSIZE, tcflag_t{CS7});
    EXPECT_EQ(Applied('N', 6).c_cflag & CSIZE, tcflag_t{CS6});
    EXPECT_EQ(Applied('N', 5).c_cflag & CSIZE, tcflag_t{CS5});

    struct termios t = Applied('N', 8, 1, 115200);
    EXPECT_EQ(cfgetospeed(&t), speed_t{B115200});
    EXPECT_EQ(cfgetispeed(&t), speed_t{B115200});
    t = Applied('N', 8, 1, 9600);
    EXPECT_EQ(cfgetospeed(&t), speed_t{B9600});
}

}  // namespace
}  // namespace velorin
