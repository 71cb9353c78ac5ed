// Private to engine/: the effect parameters that a shader class keeps as
// handles, as one table per class of (member, parameter name) rows.
#pragma once

#include "core/Platform.h"
#include "engine/SDxEffect.h"

#include <stddef.h>

template <class T>
struct SDxHandleRow {
  SDxEffect::Handle T::*member;
  const char* name;
};

// Looks every row's parameter up in the effect, or clears every handle when
// the effect is null.
template <class T, size_t N>
void BindHandleTable(T* shader, const SDxHandleRow<T> (&rows)[N], SDxEffect* effect) {
  for (const SDxHandleRow<T>& row : rows) {
    shader->*row.member = effect ? effect->GetParameterByName(row.name) : nullptr;
  }
}
