#include "core/Platform.h"
#include "app/menu/PPlayerRanking.h"

#include <string.h>

namespace {

// The first index of values[0, count) (count > 0) at which holds(value)
// becomes true, or count; holds is false, then true along the values. The
// halving has no branch on the values (a search per entry taken, with the
// outcome of every step a coin toss).
template <class Value, class Holds>
int FirstHolding(const Value* values, int count, Holds holds) {
  const Value* base = values;
  while (count > 1) {
    int half = count / 2;
    base += half & -int(!holds(base[half - 1]));
    count -= half;
  }
  return int(base - values) + (holds(*base) ? 0 : 1);
}

}  // namespace

void PPlayerRanking::Rank(const SStringArray* const* lists, int count) {
  NamePlayers(lists, count);
  size_t players = m_nameOf.size();
  m_chunkOf.assign(players, -1);
  m_total.assign(players, 0);
  m_entries.clear();
  // Chunks are split in halves: about two for every chunk's worth of
  // players.
  m_entries.reserve((2 * players / CHUNK + 2) * CHUNK);
  m_sizes.clear();
  m_free.clear();
  m_order.clear();
  m_orderOf.clear();
  m_counts.assign(1, 0);
  m_last.clear();
  m_count = 0;
  const int* taken = m_taken.data();
  for (int l = 0; l < count; ++l) {
    int entries = lists[l] ? lists[l]->GetCount() : 0;
    // 50 - i, wrapping as the working list's int sums do for lists far
    // longer than any real one.
    for (int i = 0; i < entries; ++i)
      Take(*taken++, int(uint32_t(FIRST_PLACE_POINTS) - uint32_t(i)));
  }

  m_places.clear();
  m_places.reserve(size_t(m_count));
  for (int chunk : m_order) {
    const Entry* entries = ChunkEntries(chunk);
    for (int j = 0; j < m_sizes[chunk]; ++j)
      m_places.push_back(Place{entries[j].points, m_nameOf[size_t(entries[j].player)]});
  }
}

void PPlayerRanking::NamePlayers(const SStringArray* const* lists, int count) {
  m_taken.clear();
  m_nameOf.clear();
  m_names.clear();
  size_t entries = 0;
  for (int l = 0; l < count; ++l)
    if (lists[l]) entries += size_t(lists[l]->GetCount());
  size_t slots = 16;
  while (slots < entries + entries / 2) slots *= 2;
  m_table.assign(slots, Slot{0, -1});
  m_taken.reserve(entries);
  for (int l = 0; l < count; ++l) {
    if (!lists[l]) continue;
    const SStringArray& list = *lists[l];
    for (int i = 0; i < list.GetCount(); ++i) {
      const char* name = list[i] ? list[i]->GetText() : nullptr;
      if (!name) name = "";
      uint32_t hash = 2166136261u;
      size_t length = 0;
      for (; name[length]; ++length) hash = (hash ^ uint8_t(name[length])) * 16777619u;
      size_t slot = hash & (slots - 1);
      int player = -1;
      for (; m_table[slot].player >= 0; slot = (slot + 1) & (slots - 1)) {
        const Slot& known = m_table[slot];
        if (known.hash == hash &&
            memcmp(m_names.data() + m_nameOf[size_t(known.player)], name, length + 1) == 0) {
          player = known.player;
          break;
        }
      }
      if (player < 0) {
        player = int(m_nameOf.size());
        m_table[slot] = Slot{hash, player};
        m_nameOf.push_back(int(m_names.size()));
        m_names.insert(m_names.end(), name, name + length + 1);
      }
      m_taken.push_back(player);
    }
  }
}

void PPlayerRanking::Take(int player, int points) {
  int total = points;
  if (m_chunkOf[size_t(player)] >= 0) {
    total = int(uint32_t(total) + uint32_t(m_total[size_t(player)]));
    Remove(player);
  }
  Spot first = FirstAtMost(total, false);
  int index = first.index;
  if (first.order < int(m_order.size())) {
    const Entry* entries = ChunkEntries(m_order[size_t(first.order)]);
    int size = m_sizes[size_t(m_order[size_t(first.order)])];
    if (entries[first.offset].points == total) {
      // The run of equal totals [first, end): short ones end in the chunk.
      int last = first.offset + 1;
      while (last < size && entries[last].points == total) ++last;
      int end = last < size || first.order + 1 == int(m_order.size())
                    ? first.index + last - first.offset
                    : FirstAtMost(total, true).index;
      // The binary search of the whole list stops at the first middle that
      // falls into the run.
      int lo = 0, hi = m_count, mid = hi / 2;
      while (unsigned(mid - first.index) >= unsigned(end - first.index)) {
        int below = -int(mid < first.index);  // all bits set when below the run
        lo = (lo & ~below) | ((mid + 1) & below);
        hi = (hi & below) | (mid & ~below);
        mid = (lo + hi) / 2;
      }
      index = mid;
    }
  }
  Insert(index, Entry{total, player}, first);
  m_total[size_t(player)] = total;
}

int PPlayerRanking::Prefix(int order) const {
  int sum = 0;
  for (int i = order; i > 0; i -= i & -i) sum += m_counts[size_t(i)];
  return sum;
}

void PPlayerRanking::AddCount(int order, int delta) {
  int n = int(m_order.size());
  for (int i = order + 1; i <= n; i += i & -i) m_counts[size_t(i)] += delta;
}

void PPlayerRanking::RebuildOrder() {
  int n = int(m_order.size());
  m_counts.assign(size_t(n) + 1, 0);
  m_last.resize(size_t(n));
  for (int i = 1; i <= n; ++i) {
    int chunk = m_order[size_t(i - 1)];
    m_last[size_t(i - 1)] = ChunkEntries(chunk)[m_sizes[size_t(chunk)] - 1].points;
    m_counts[size_t(i)] += m_sizes[size_t(chunk)];
    int parent = i + (i & -i);
    if (parent <= n) m_counts[size_t(parent)] += m_counts[size_t(i)];
  }
}

PPlayerRanking::Spot PPlayerRanking::FirstAtMost(int points, bool strictly) const {
  int chunks = int(m_order.size());
  Spot spot{chunks, 0, m_count};
  if (chunks == 0) return spot;
  if (strictly)
    spot.order = FirstHolding(m_last.data(), chunks, [points](int p) { return p < points; });
  else
    spot.order = FirstHolding(m_last.data(), chunks, [points](int p) { return p <= points; });
  if (spot.order == chunks) return spot;
  int chunk = m_order[size_t(spot.order)];
  const Entry* entries = ChunkEntries(chunk);
  int size = m_sizes[size_t(chunk)];
  if (strictly)
    spot.offset = FirstHolding(entries, size, [points](const Entry& e) { return e.points < points; });
  else
    spot.offset = FirstHolding(entries, size, [points](const Entry& e) { return e.points <= points; });
  spot.index = Prefix(spot.order) + spot.offset;
  return spot;
}

void PPlayerRanking::Insert(int index, const Entry& entry, const Spot& hint) {
  if (m_order.empty()) {
    int chunk = NewChunk();
    ChunkEntries(chunk)[0] = entry;
    m_sizes[size_t(chunk)] = 1;
    m_order.push_back(chunk);
    m_orderOf[size_t(chunk)] = 0;
    RebuildOrder();
    m_chunkOf[size_t(entry.player)] = chunk;
    m_count = 1;
    return;
  }
  int n = int(m_order.size());
  int order, offset;
  if (hint.order < n && hint.offset + index - hint.index <= m_sizes[size_t(m_order[size_t(hint.order)])]) {
    order = hint.order;
    offset = hint.offset + index - hint.index;
  } else if (index == m_count) {
    order = n - 1;
    offset = m_sizes[size_t(m_order[size_t(order)])];
  } else {
    // The chunk holding index: the last one whose entries before it number
    // at most index.
    order = 0;
    offset = index;
    int step = 1;
    while (step * 2 <= n) step *= 2;
    for (; step > 0; step /= 2) {
      if (order + step <= n && m_counts[size_t(order + step)] <= offset) {
        order += step;
        offset -= m_counts[size_t(order)];
      }
    }
  }
  int chunk = m_order[size_t(order)];
  if (m_sizes[size_t(chunk)] == CHUNK) {
    SplitChunk(order);
    if (offset > m_sizes[size_t(chunk)]) {
      offset -= m_sizes[size_t(chunk)];
      chunk = m_order[size_t(++order)];
    }
  }
  Entry* entries = ChunkEntries(chunk);
  int& size = m_sizes[size_t(chunk)];
  memmove(entries + offset + 1, entries + offset, sizeof(Entry) * size_t(size - offset));
  entries[offset] = entry;
  if (offset == size) m_last[size_t(order)] = entry.points;
  ++size;
  AddCount(order, 1);
  m_chunkOf[size_t(entry.player)] = chunk;
  ++m_count;
}

void PPlayerRanking::Remove(int player) {
  int chunk = m_chunkOf[size_t(player)];
  int order = m_orderOf[size_t(chunk)];
  Entry* entries = ChunkEntries(chunk);
  int& size = m_sizes[size_t(chunk)];
  int total = m_total[size_t(player)];
  int at = FirstHolding(entries, size, [total](const Entry& e) { return e.points <= total; });
  while (entries[at].player != player) ++at;
  memmove(entries + at, entries + at + 1, sizeof(Entry) * size_t(size - at - 1));
  --size;
  AddCount(order, -1);
  m_chunkOf[size_t(player)] = -1;
  --m_count;
  if (size == 0)
    DropChunk(order);
  else if (at == size)
    m_last[size_t(order)] = entries[size - 1].points;
}

int PPlayerRanking::NewChunk() {
  if (!m_free.empty()) {
    int chunk = m_free.back();
    m_free.pop_back();
    return chunk;
  }
  int chunk = int(m_sizes.size());
  m_sizes.push_back(0);
  m_orderOf.push_back(-1);
  m_entries.resize(m_sizes.size() * CHUNK);
  return chunk;
}

void PPlayerRanking::SplitChunk(int order) {
  int upper = NewChunk();
  int chunk = m_order[size_t(order)];
  const int half = CHUNK / 2;
  Entry* from = ChunkEntries(chunk);
  Entry* to = ChunkEntries(upper);
  memcpy(to, from + half, sizeof(Entry) * (CHUNK - half));
  for (int j = 0; j < CHUNK - half; ++j) m_chunkOf[size_t(to[j].player)] = upper;
  m_sizes[size_t(chunk)] = half;
  m_sizes[size_t(upper)] = CHUNK - half;
  m_order.insert(m_order.begin() + order + 1, upper);
  for (size_t i = size_t(order) + 1; i < m_order.size(); ++i) m_orderOf[size_t(m_order[i])] = int(i);
  RebuildOrder();
}

void PPlayerRanking::DropChunk(int order) {
  int chunk = m_order[size_t(order)];
  m_order.erase(m_order.begin() + order);
  for (size_t i = size_t(order); i < m_order.size(); ++i) m_orderOf[size_t(m_order[i])] = int(i);
  m_orderOf[size_t(chunk)] = -1;
  m_free.push_back(chunk);
  RebuildOrder();
}
