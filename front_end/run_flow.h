#ifndef VELMORA_FRONT_END_RUN_FLOW_H_
#define VELMORA_FRONT_END_RUN_FLOW_H_

// The process entry's work: usage screen or one conversion, then the
// outcome line. Returns the exit status, 0 or 1.
int velmora_entry(int argument_count, char** arguments);

// Converts arguments[1] into the tape named by arguments[2] or derived
// from arguments[1]. Returns 1 when the tape was written, 0 otherwise.
int run_conversion(int argument_count, char** arguments);

void show_usage();

#endif  // VELMORA_FRONT_END_RUN_FLOW_H_
