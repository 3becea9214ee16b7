#ifndef VELMORA_FRONT_END_DESTINATION_NAME_H_
#define VELMORA_FRONT_END_DESTINATION_NAME_H_

#include <cstddef>

// Room for the longest name most file systems take, and its terminator.
constexpr std::size_t DESTINATION_NAME_BYTES = 260;

using DestinationName = char[DESTINATION_NAME_BYTES];

// Names the tape after the source: leading dots skipped, everything from
// the next dot on (a directory's included) dropped, ".tap" appended.
// Returns false, leaving the name empty, when the result would not fit.
bool derive_destination_name(const char* source_name, DestinationName& destination_name);

// Takes a name given by the user as it is; false when it does not fit.
bool copy_destination_name(const char* given_name, DestinationName& destination_name);

#endif  // VELMORA_FRONT_END_DESTINATION_NAME_H_
