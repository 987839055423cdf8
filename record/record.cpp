// The frame record (see record.hpp): owns frame_record and the three bounded
// appends every write goes through, which refuse to write past a capacity and
// mark the record overflowed instead.
#include "record/record.hpp"
#include "record/append.hpp"
#include "record/device.hpp"

#include <cstring>

// ---- Global state --------------------------------------------------------------
// Emptied by begin_record, filled by the device during a frame, read by one painter.
FrameRecord frame_record;
RecordTraces kept_traces;  // written by the mask-keeping painters; read by the scenes (see record.hpp)

void begin_record(const FrameSettings& frame) {
    frame_record.width = frame.width;
    frame_record.height = frame.height;
    frame_record.item_count = 0;
    frame_record.vertex_count = 0;
    frame_record.text_used = 0;
    frame_record.overflowed = false;
    frame_record.walked_unseen = 0;
    frame_record.traces = RecordTraces{};
    device_reset(frame);
}

bool same_trace_view(const RecordTraces& a, const RecordTraces& b) {
    for (int i = 0; i < TRACE_VIEW_NUMBERS; ++i)
        if (!(a.view[i] == b.view[i])) return false;
    return true;
}

RecordItem* next_record_item() {
    if (frame_record.item_count >= RECORD_ITEM_CAPACITY) {
        frame_record.overflowed = true;
        return nullptr;
    }
    return &frame_record.items[frame_record.item_count++];
}

RecordVertex* next_record_vertex() {
    if (frame_record.vertex_count >= RECORD_VERTEX_CAPACITY) {
        frame_record.overflowed = true;
        return nullptr;
    }
    return &frame_record.vertices[frame_record.vertex_count++];
}

int store_record_text(const char* text) {
    const int length = static_cast<int>(std::strlen(text));
    if (length + 1 > RECORD_TEXT_CAPACITY - frame_record.text_used) {
        frame_record.overflowed = true;
        return -1;
    }
    const int offset = frame_record.text_used;
    std::memcpy(frame_record.text + offset, text, static_cast<size_t>(length) + 1);
    frame_record.text_used += length + 1;
    return offset;
}
