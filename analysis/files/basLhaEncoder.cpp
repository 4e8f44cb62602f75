#include "basLhaEncoder.h"

#include <algorithm>
#include <array>
#include <queue>
#include <vector>

namespace basLhaEncoder {

namespace {

// Shared by -lh5-, -lh6- and -lh7-; only the window and the position tree differ.
constexpr int MaxMatch = 256;
constexpr int Threshold = 3;
constexpr int NC = 256 + MaxMatch - Threshold + 1; // 510 literal and length codes
constexpr int NT = 19;                             // code-length codes
constexpr int CBit = 9;
constexpr int TBit = 5;
constexpr int MaxCodeLength = 16;
constexpr int BlockCodes = 16384;

class BitWriter {
public:
    void put(int bits, quint32 value) {
        for (int i = bits - 1; i >= 0; --i) {
            m_acc = quint8((m_acc << 1) | ((value >> i) & 1));
            if (++m_count == 8) {
                m_out.append(char(m_acc));
                m_acc = 0;
                m_count = 0;
            }
        }
    }
    QByteArray finish() {
        if (m_count > 0)
            put(8 - m_count, 0);
        return m_out;
    }

private:
    QByteArray m_out;
    quint8 m_acc = 0;
    int m_count = 0;
};

// Code lengths of a Huffman code over freq, none longer than MaxCodeLength. With fewer than
// two used symbols every length stays 0 (the format then sends the symbol itself).
std::vector<int> huffmanLengths(const std::vector<quint32>& freqIn) {
    const int n = int(freqIn.size());
    std::vector<int> len(n, 0);
    std::vector<quint32> freq = freqIn;
    for (;;) {
        struct Node {
            quint64 weight;
            int index;
        };
        auto cmp = [](const Node& a, const Node& b) {
            return a.weight != b.weight ? a.weight > b.weight : a.index > b.index;
        };
        std::priority_queue<Node, std::vector<Node>, decltype(cmp)> heap(cmp);
        std::vector<int> parent;
        parent.reserve(2 * n);
        for (int i = 0; i < n; ++i) {
            parent.push_back(-1);
            if (freq[i] > 0)
                heap.push({freq[i], i});
        }
        if (heap.size() < 2)
            return len;
        while (heap.size() > 1) {
            const Node a = heap.top();
            heap.pop();
            const Node b = heap.top();
            heap.pop();
            const int id = int(parent.size());
            parent.push_back(-1);
            parent[a.index] = id;
            parent[b.index] = id;
            heap.push({a.weight + b.weight, id});
        }
        int longest = 0;
        for (int i = 0; i < n; ++i) {
            if (freq[i] == 0) {
                len[i] = 0;
                continue;
            }
            int depth = 0;
            for (int p = parent[i]; p >= 0; p = parent[p])
                ++depth;
            len[i] = depth;
            longest = std::max(longest, depth);
        }
        if (longest <= MaxCodeLength)
            return len;
        // Too deep: flatten the frequencies and build again.
        for (auto& f : freq)
            if (f > 0)
                f = (f + 1) / 2;
    }
}

// Not every decoder accepts the format's single-symbol form of a tree, so a tree always gets
// at least two codes (an unused one costs a bit or two in the block header).
void ensureTwoSymbols(std::vector<quint32>& freq) {
    const auto used = std::count_if(freq.begin(), freq.end(), [](quint32 f) { return f > 0; });
    if (used >= 2)
        return;
    if (used == 0) {
        freq[0] = freq[1] = 1;
        return;
    }
    freq[freq[0] > 0 ? 1 : 0] = 1;
}

// Canonical codes: by length, then by symbol, as decoders rebuild them from the lengths.
std::vector<quint32> canonicalCodes(const std::vector<int>& len) {
    std::array<quint32, MaxCodeLength + 2> count{};
    for (int l : len)
        if (l > 0)
            ++count[l];
    std::array<quint32, MaxCodeLength + 2> next{};
    quint32 code = 0;
    for (int l = 1; l <= MaxCodeLength; ++l) {
        code = (code + count[l - 1]) << 1;
        next[l] = code;
    }
    std::vector<quint32> codes(len.size(), 0);
    for (size_t i = 0; i < len.size(); ++i)
        if (len[i] > 0)
            codes[i] = next[len[i]]++;
    return codes;
}

struct Token {
    quint16 code; // 0..255 literal, 256.. match length - 3 + 256
    quint16 pos;  // distance - 1 for a match (a 64 KiB window still fits)
};

struct Window {
    int dicBits; // the window is 1 << dicBits bytes
    int np;      // position classes: distance - 1 has at most dicBits bits
    int pBit;    // bits of the position tree's length count, wide enough for np
};

Window windowFor(int dictionaryBits) {
    switch (dictionaryBits) {
    case 15:
        return {15, 16, 5};
    case 16:
        return {16, 17, 5};
    default:
        return {13, 14, 4};
    }
}

int positionClass(quint32 p) {
    int c = 0;
    while (p) {
        p >>= 1;
        ++c;
    }
    return c;
}

void writePtLengths(BitWriter& out, const std::vector<int>& len, int nbit, int special) {
    int n = int(len.size());
    while (n > 0 && len[n - 1] == 0)
        --n;
    out.put(nbit, quint32(n));
    int i = 0;
    while (i < n) {
        const int k = len[i++];
        if (k <= 6)
            out.put(3, quint32(k));
        else
            out.put(k - 3, 0xFFFEu);
        if (i == special) {
            while (i < 6 && len[i] == 0)
                ++i;
            out.put(2, quint32(i - special));
        }
    }
}

void sendBlock(BitWriter& out, const std::vector<Token>& tokens, const Window& window) {
    std::vector<quint32> cFreq(NC, 0), pFreq(window.np, 0);
    for (const Token& t : tokens) {
        ++cFreq[t.code];
        if (t.code >= 256)
            ++pFreq[positionClass(t.pos)];
    }
    out.put(16, quint32(tokens.size()));
    ensureTwoSymbols(cFreq);
    ensureTwoSymbols(pFreq);

    const std::vector<int> cLen = huffmanLengths(cFreq);
    const std::vector<quint32> cCode = canonicalCodes(cLen);
    const bool cSingle = std::all_of(cLen.begin(), cLen.end(), [](int l) { return l == 0; });
    if (cSingle) {
        const int root =
            int(std::find_if(cFreq.begin(), cFreq.end(), [](quint32 f) { return f > 0; }) - cFreq.begin());
        out.put(TBit, 0);
        out.put(TBit, 0);
        out.put(CBit, 0);
        out.put(CBit, quint32(root < NC ? root : 0));
    } else {
        int n = NC;
        while (n > 0 && cLen[n - 1] == 0)
            --n;
        // Run-length form of the code lengths and the frequencies of its symbols.
        struct Item {
            int sym;
            int extraBits;
            quint32 extra;
        };
        std::vector<Item> items;
        std::vector<quint32> tFreq(NT, 0);
        int i = 0;
        while (i < n) {
            const int k = cLen[i++];
            if (k == 0) {
                int count = 1;
                while (i < n && cLen[i] == 0) {
                    ++i;
                    ++count;
                }
                if (count <= 2) {
                    for (int j = 0; j < count; ++j)
                        items.push_back({0, 0, 0});
                    tFreq[0] += quint32(count);
                } else if (count <= 18) {
                    items.push_back({1, 4, quint32(count - 3)});
                    ++tFreq[1];
                } else if (count == 19) {
                    items.push_back({0, 0, 0});
                    items.push_back({1, 4, 15});
                    ++tFreq[0];
                    ++tFreq[1];
                } else {
                    items.push_back({2, CBit, quint32(count - 20)});
                    ++tFreq[2];
                }
            } else {
                items.push_back({k + 2, 0, 0});
                ++tFreq[k + 2];
            }
        }
        ensureTwoSymbols(tFreq);
        const std::vector<int> tLen = huffmanLengths(tFreq);
        const std::vector<quint32> tCode = canonicalCodes(tLen);
        const bool tSingle = std::all_of(tLen.begin(), tLen.end(), [](int l) { return l == 0; });
        if (tSingle) {
            out.put(TBit, 0);
            out.put(TBit, quint32(items.empty() ? 0 : items.front().sym));
        } else {
            writePtLengths(out, tLen, TBit, 3);
        }
        out.put(CBit, quint32(n));
        for (const Item& it : items) {
            if (tLen[it.sym] > 0)
                out.put(tLen[it.sym], tCode[it.sym]);
            if (it.extraBits > 0)
                out.put(it.extraBits, it.extra);
        }
    }

    const std::vector<int> pLen = huffmanLengths(pFreq);
    const std::vector<quint32> pCode = canonicalCodes(pLen);
    const bool pSingle = std::all_of(pLen.begin(), pLen.end(), [](int l) { return l == 0; });
    if (pSingle) {
        const auto it = std::find_if(pFreq.begin(), pFreq.end(), [](quint32 f) { return f > 0; });
        out.put(window.pBit, 0);
        out.put(window.pBit, quint32(it == pFreq.end() ? 0 : it - pFreq.begin()));
    } else {
        writePtLengths(out, pLen, window.pBit, -1);
    }

    for (const Token& t : tokens) {
        if (cLen[t.code] > 0)
            out.put(cLen[t.code], cCode[t.code]);
        if (t.code >= 256) {
            const int c = positionClass(t.pos);
            if (pLen[c] > 0)
                out.put(pLen[c], pCode[c]);
            if (c > 1)
                out.put(c - 1, t.pos);
        }
    }
}
} // namespace

QByteArray compressLh5(const QByteArray& data) {
    return compressLh(data, 13);
}

QByteArray compressLh(const QByteArray& data, int dictionaryBits) {
    const Window window = windowFor(dictionaryBits);
    const int dicSize = 1 << window.dicBits;
    const int size = int(data.size());
    const auto* bytes = reinterpret_cast<const quint8*>(data.constData());
    // Hash chains over three-byte prefixes.
    constexpr int HashBits = 15;
    std::vector<int> head(1 << HashBits, -1);
    std::vector<int> prev(size > 0 ? size : 1, -1);
    auto hashAt = [&](int i) {
        return ((quint32(bytes[i]) << 10) ^ (quint32(bytes[i + 1]) << 5) ^ bytes[i + 2]) &
               ((1u << HashBits) - 1);
    };
    auto insert = [&](int i) {
        if (i + 2 < size) {
            const quint32 h = hashAt(i);
            prev[i] = head[h];
            head[h] = i;
        }
    };

    BitWriter out;
    std::vector<Token> block;
    block.reserve(BlockCodes);
    int pos = 0;
    while (pos < size) {
        int bestLen = 0;
        int bestDist = 0;
        if (pos + 2 < size) {
            const int limit = std::min(MaxMatch, size - pos);
            int chain = 128;
            for (int cand = head[hashAt(pos)]; cand >= 0 && pos - cand <= dicSize && chain-- > 0;
                 cand = prev[cand]) {
                if (bytes[cand + bestLen] != bytes[pos + bestLen])
                    continue;
                int l = 0;
                while (l < limit && bytes[cand + l] == bytes[pos + l])
                    ++l;
                if (l > bestLen) {
                    bestLen = l;
                    bestDist = pos - cand;
                    if (l == limit)
                        break;
                }
            }
        }
        if (bestLen >= Threshold) {
            block.push_back({quint16(bestLen - Threshold + 256), quint16(bestDist - 1)});
            for (int k = 0; k < bestLen; ++k)
                insert(pos + k);
            pos += bestLen;
        } else {
            block.push_back({bytes[pos], 0});
            insert(pos);
            ++pos;
        }
        if (int(block.size()) == BlockCodes) {
            sendBlock(out, block, window);
            block.clear();
        }
    }
    if (!block.empty())
        sendBlock(out, block, window);
    return out.finish();
}

} // namespace basLhaEncoder
