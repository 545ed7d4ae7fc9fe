// The framework's collections: the CArray, CList and CMap templates, their typed-pointer
// wrappers and the classic non-template collections built on them.
//
// Semantics follow the classic library: indexes are INT_PTR, a bad index or an empty-list
// access throws the invalid-argument exception, element storage is raw memory with the
// elements constructed in place, lists and maps take their nodes from CPlex blocks, and
// CMap iterates bucket by bucket, newest entry first within a bucket.
//
// Deliberate differences, all on paths where the classic code corrupts memory:
// - elements are moved with their move constructor/assignment when the type is not
//   trivially copyable (the classic memcpy would break types holding self-pointers);
// - inserting or appending an element that lives in the same array, or appending a list
//   to itself, works on a copy;
// - InitHashTable on a non-empty map rehashes the entries instead of losing them;
// - loading a map from an archive grows its table as entries arrive (a map of more than
//   four entries per bucket iterates in another order than the classic one would).
#pragma once
#include "framework/coll_elements.h"
#include "framework/coll_array.h"
#include "framework/coll_list.h"
#include "framework/coll_map.h"
#include "framework/coll_typed.h"
#include "framework/coll_classic.h"
