// afxtempl.h - the library's collection templates.
//
// Classes declared here:
//   CArray - an array of elements of one type that grows as elements are added
#pragma once

#include <afx.h>

#include "afx/array.h"
