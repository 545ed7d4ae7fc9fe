// The control wrappers and common dialogs, for the umbrella header.
#pragma once
#include "framework/ctrl_basic.h"
#include "framework/ctrl_common.h"
#include "framework/ctrl_list.h"
#include "framework/ctrl_tree.h"
#if __has_include("framework/commondlg.h")
#include "framework/commondlg.h"
#endif
