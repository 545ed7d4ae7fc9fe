// The groups file of the running program: read once when the groups pane opens, and
// written after every change of the groups (Apply, Add to Group, Delete), never when
// nothing changed. A file that is there but cannot be read as groups is copied beside
// itself before anything is written over it; when it cannot even be copied or opened,
// nothing is written to it until the next start. A file that another program changed
// since this run read or wrote it is read again before the write, and the user's changes
// made here since are applied to what it holds now (CGroupManager::MergeChanges): the
// list of groups may then gain, lose or change groups, and the groups tree is rebuilt.
#pragma once
#include <string>

// Reads the groups file into the groups model, after removing the temporary files a save
// cut short left beside it. Gives back the text of the box that
// tells the user why the file could not be read and what became of it, or "" when
// there is nothing to tell.
std::string LoadGroupsFile();
// Writes the groups when they differ from what the file was last read or written with.
// A file that cannot be written is reported in a box naming it when bReport is set.
// True when the file holds the groups now.
bool SaveGroupsFile(bool bReport = true);
