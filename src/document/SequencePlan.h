#pragma once

// The sequence numbers and dates of a dated member being written, as the host editor gives
// them: a line that stays in its place keeps its number; lines inserted between two numbers
// take the largest step of 1.00, 0.10 or 0.01 that fits them all; a line moved takes a number at
// its new place and keeps its date; a changed line takes today's date.

#include "document/HostRecord.h"

#include <cstdint>
#include <vector>

struct PlannedLine {
    enum class Kind {
        Kept,   // a member line written as it was read
        Edited, // a member line written changed
        New,    // a line the member did not have
        Added,  // a line the build adds on its own (banners): left out where it has no room
        Raw     // a member line without a record, written as it was read, without one
    };
    Kind What = Kind::New;
    // Kept and Edited: the record read; after the plan, the record to write.
    HostRecord Record;
    // Kept and Edited: the line's place in the member read, which tells the lines moved.
    int Place = -1;
    // Set by the plan for an Added line that found no room.
    bool Dropped = false;
};

struct SequencePlanResult {
    // Lines (indexes into the plan) that need a number and found none between their
    // neighbours; empty when the plan is complete.
    std::vector<size_t> NoRoom;
    // The numbers of the lines before and after each stretch of NoRoom (-1: none), one pair per
    // stretch, for the message.
    std::vector<std::pair<std::int32_t, std::int32_t>> Between;
    bool Renumbered = false;
};

// Gives every line its record to write, Today being the date of the changes. With Renumber,
// a plan that finds no room numbers every line from 1.00 by 1.00 instead (by 0.10 or 0.01 when
// the lines are too many for that), the dates staying.
SequencePlanResult PlanSequenceNumbers(std::vector<PlannedLine>& lines, std::int32_t today,
                                       bool renumber);
