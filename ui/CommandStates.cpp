#include "ui/CommandStates.h"

namespace orbeta {

namespace {

constexpr GroupState on = GroupState::On;
constexpr GroupState off = GroupState::Off;
constexpr GroupState same = GroupState::Unchanged;

// Start, capture window closed and last child closed give the no-study state: only New, Open
// and the commands that are always available.
constexpr GroupStates kNoStudy{on, on, off, off, off, off, off, off};

//                                  New  Open Close Save SaveAs Print Arrange Calculations
constexpr GroupStates kAfterNew{off, off, on, off, off, same, same, same};
constexpr GroupStates kAfterOpen{off, off, on, off, off, on, on, on};
constexpr GroupStates kAfterLastCellTyped{same, same, same, on, on, on, same, on};

} // namespace

GroupStates StatesAfter(CommandEvent event) {
    switch (event) {
    case CommandEvent::New:
        return kAfterNew;
    case CommandEvent::Open:
        return kAfterOpen;
    case CommandEvent::LastCellTyped:
        return kAfterLastCellTyped;
    case CommandEvent::Start:
    case CommandEvent::CaptureWindowClosed:
    case CommandEvent::LastChildClosed:
        break;
    }
    return kNoStudy;
}

} // namespace orbeta
