// The element types of the core library, instantiated once here. Other
// libraries instantiate their own element types where those are declared;
// the rules of each family are those of SArrayElement.
#include "core/Platform.h"
#include "core/PlatformGdiplus.h"

#include "core/SArray.h"
#include "core/SStringParser.h"

// Pointers to framework objects and plain data: unsigned address order;
// the deleting members use delete (delete[] for byte buffers, operator
// delete for untyped blocks).
template class SArray<SString*>;
template class SArray<SStringParser*>;
template class SArray<Gdiplus::Color*>;
template class SArray<tagRECT*>;
template class SArray<void*>;
template class SArray<unsigned char*>;

// Windows handles: unsigned handle order; never deleted.
template class SArray<HWND__*>;
template class SArray<HFONT__*>;
template class SArray<_TREEITEM*>;

// 32-bit numbers: unsigned order for unsigned types, signed for int.
template class SArray<unsigned int>;
template class SArray<unsigned long>;
template class SArray<int>;
template class SArray<float>;

// 64-bit values.
template class SArray<unsigned __int64>;
template class SArray<double>;
template class SArray<tagPOINT>;

// 128-bit values.
template class SArray<tagRECT>;
template class SArray<_GUID>;

// Flags.
template class SArray<bool>;
