// The interference sentences of gear_data's procedures (private to the
// folder): pointers the notes carry, so interference_in_japanese can tell them.
#pragma once

extern const char* const EACH_DIGS;
extern const char* const MATE_DIGS;
extern const char* const GEAR_DIGS;
extern const char* const RING_TIP_DIGS;
extern const char* const RING_TIP_MAY_CLEAR;
extern const char* const PINION_TIP_HITS;
extern const char* const PINION_GOES_IN_AXIALLY;
