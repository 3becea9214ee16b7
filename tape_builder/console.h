#ifndef VELMORA_TAPE_BUILDER_CONSOLE_H_
#define VELMORA_TAPE_BUILDER_CONSOLE_H_

// All of the tool's texts go to standard output, unbuffered and unchanged.
// A text that can't be written leaves a mark that the entry turns into a
// failed exit status, since the user was not told what happened.
void print_text(const char* text);
bool console_failed();

#endif  // VELMORA_TAPE_BUILDER_CONSOLE_H_
