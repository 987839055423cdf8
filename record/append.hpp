// The record's bounded appends, for the record's own files: each hands out the
// next free slot, or nullptr and the record marked overflowed when it is full.
#pragma once

#include "record/record.hpp"

RecordItem* next_record_item();
RecordVertex* next_record_vertex();
// Copies a NUL-terminated text; its offset in frame_record.text, or -1.
int store_record_text(const char* text);
