#pragma once

#include <array>
#include <cstddef>

namespace orbeta {

// What changes which commands of the main window can be used.
enum class CommandEvent {
    Start,               // the main window is first shown
    New,                 // "&Nuevo" created the capture window
    Open,                // a study was loaded into a new capture window
    LastCellTyped,       // a character was typed in the bottom-right data cell
    CaptureWindowClosed, // the capture window closed, however
    LastChildClosed,     // a result window closed and no child window is left
};

// The commands that are made available or unavailable together; a menu item and its button
// always belong to the same group.
enum class CommandGroup { New, Open, Close, Save, SaveAs, Print, Arrange, Calculations };
inline constexpr std::size_t kCommandGroupCount = 8;

enum class GroupState { On, Off, Unchanged };

// Each group's state after an event, indexed by CommandGroup.
using GroupStates = std::array<GroupState, kCommandGroupCount>;

GroupStates StatesAfter(CommandEvent event);

} // namespace orbeta
