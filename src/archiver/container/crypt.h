// Traditional PKWARE encryption: three keys stirred by the password and by every plain
// byte, and a 12-byte header whose last byte lets a reader check the password.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "archiver/container/format.h"

namespace zv::archiver {

class ZipCrypto {
 public:
  explicit ZipCrypto(std::string_view password);

  void encrypt(uint8_t* data, size_t size);
  void decrypt(uint8_t* data, size_t size);

  // The byte the header ends with: the CRC's high byte, or the DOS time's second byte for
  // entries whose CRC follows the data (a data descriptor).
  static uint8_t checkByte(const Entry& entry);

 private:
  uint8_t keyStream() const;
  void update(uint8_t plain);

  uint32_t keys_[3];
};

}  // namespace zv::archiver
