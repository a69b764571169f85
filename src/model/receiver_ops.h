#pragma once

// Operations on electric receivers shared by the receivers window, the
// receiver list, the groups window and the paste import. They keep the
// group's counters Nэп and Nраб, the designation index and the receiver
// object (table 152) in step with the receiver record.

#include <cstdint>
#include <string_view>

namespace kordavelt {

class MarkaClass;
class modelClass;
class tbClass;

// The code of a receiver typed as group "." number ("5.70"): the group and
// the number; false for a text that is not two non-negative integers (a
// text without '.' is a group with number 0).
bool ParseReceiverCode(std::string_view text, int& group, int& number);

// True when the group has at least one receiver record; the table then
// stands on the group's first receiver.
bool GroupHasReceivers(tbClass& receivers, int group);
// The first free number 1 … 1023 of the group; 0 when all are taken.
int FreeReceiverNumber(tbClass& receivers, int group);

// Inserts a receiver with the first free number of `group`: not fed, its
// phase connection from the group's number of phases; the group's Nэп grows
// by one. The new key, 0 when the group is full or missing (nothing added).
std::int32_t AddReceiver(modelClass& model, int group);

// Moves receiver `from` to the free key `to`: its object and its entry in
// the designation index follow, and the counters of both groups are kept.
// False, with nothing changed, when `from` is missing or `to` is taken.
bool MoveReceiver(modelClass& model, std::int32_t from, std::int32_t to);

// Deletes a receiver: its designation leaves the index, its branch leaves
// the model, its object and its record are deleted, and its group's
// counters drop. False when there is no such receiver.
bool DeleteReceiver(modelClass& model, std::int32_t key);

// Gives record `key` the designation `text` in the index in place of `old`:
// false, with the index unchanged, when another record holds the text.
bool ReplaceDesignation(MarkaClass& index, std::string_view old, std::string_view text,
                        std::int32_t key);

// Changes the designation of the receiver the receiver table stands on:
// refused (false) when another record holds the text in the index; the old
// text leaves the index and the new one enters it.
bool SetReceiverDesignation(modelClass& model, std::string_view text);

}  // namespace kordavelt
