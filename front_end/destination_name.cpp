#include "front_end/destination_name.h"

#include <cstring>

namespace {

constexpr char TAPE_EXTENSION[] = ".tap";
constexpr std::size_t LONGEST_NAME = DESTINATION_NAME_BYTES - 1;

bool store_name(const char* stem, std::size_t stem_length, const char* extension,
                DestinationName& destination_name) {
  const std::size_t extension_length = std::strlen(extension);
  destination_name[0] = '\0';
  if (stem_length > LONGEST_NAME - extension_length) return false;
  std::memcpy(destination_name, stem, stem_length);
  std::memcpy(destination_name + stem_length, extension, extension_length + 1);
  return true;
}

}  // namespace

bool derive_destination_name(const char* source_name, DestinationName& destination_name) {
  const char* stem = source_name + std::strspn(source_name, ".");
  return store_name(stem, std::strcspn(stem, "."), TAPE_EXTENSION, destination_name);
}

bool copy_destination_name(const char* given_name, DestinationName& destination_name) {
  return store_name(given_name, std::strlen(given_name), "", destination_name);
}
