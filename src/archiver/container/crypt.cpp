#include "archiver/container/crypt.h"

#include <zlib.h>

namespace zv::archiver {

namespace {

uint32_t crcStep(uint32_t crc, uint8_t byte) {
  static const z_crc_t* table = get_crc_table();
  return table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

}  // namespace

ZipCrypto::ZipCrypto(std::string_view password) : keys_{0x12345678, 0x23456789, 0x34567890} {
  for (char c : password)
    update(static_cast<uint8_t>(c));
}

uint8_t ZipCrypto::keyStream() const {
  const uint32_t t = (keys_[2] | 2) & 0xFFFF;
  return static_cast<uint8_t>((t * (t ^ 1)) >> 8);
}

void ZipCrypto::update(uint8_t plain) {
  keys_[0] = crcStep(keys_[0], plain);
  keys_[1] = (keys_[1] + (keys_[0] & 0xFF)) * 134775813u + 1;
  keys_[2] = crcStep(keys_[2], static_cast<uint8_t>(keys_[1] >> 24));
}

void ZipCrypto::encrypt(uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    const uint8_t plain = data[i];
    data[i] = plain ^ keyStream();
    update(plain);
  }
}

void ZipCrypto::decrypt(uint8_t* data, size_t size) {
  for (size_t i = 0; i < size; ++i) {
    data[i] ^= keyStream();
    update(data[i]);
  }
}

uint8_t ZipCrypto::checkByte(const Entry& entry) {
  return static_cast<uint8_t>((entry.flags & kFlagDescriptor) ? (entry.dosTime >> 8)
                                                              : (entry.crc >> 24));
}

}  // namespace zv::archiver
