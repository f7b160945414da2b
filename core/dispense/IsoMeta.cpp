// SPDX-License-Identifier: GPL-3.0-or-later
// The rules follow libisofs 1.5.4 (ecma119.c, rockridge.c, joliet.c, util.c)
// step by step; test_isometa holds them against libisofs's own count.
#include "core/dispense/IsoMeta.h"

#include <algorithm>
#include <map>

namespace IsoMeta {

namespace {

constexpr quint64 B = BlockSize;
constexpr quint64 SystemArea = 16;
constexpr quint64 Descriptors = 3; // primary, Joliet, terminator
constexpr quint64 LeastHead = 32;  // libisofs pads the head of small images
constexpr quint64 TailPadding = 150;
constexpr quint64 TrackChunk = 32; // libburn writes DVD+R and BD-R tracks in 64 KiB
constexpr quint64 SharedParts = 7; // root directories, root continuation, four path tables
constexpr quint64 RecordMax = 254;
constexpr quint64 PxTf = 36 + 26; // Rock Ridge 1.10 PX, and TF with three times
constexpr quint64 CeEntry = 28;
constexpr quint64 RootEr = 237; // the ER of Rock Ridge 1.10, in the root's continuation area
constexpr quint64 RootCrossing = 2 * (CeEntry - 1) + B; // the most a crossing adds
constexpr quint64 DotRecords = 2 * (34 + PxTf);
constexpr quint64 RootDotRecords = DotRecords + 36; // SP and CE, padded even
constexpr quint64 JolietDots = 2 * 34;
constexpr quint64 JolietMax = 64;
constexpr quint64 IsoMax = 31;
constexpr quint64 SectionBytes = 0xFFFFF800;
constexpr quint64 OneSection = 0xFFFFFFFF;

// Decodes UTF-8 as glibc's iconv does; false when name is not valid. Each
// byte that does not start a valid sequence then stands for itself (as
// U+DC00 + byte), and a sequence cut short at the end is dropped.
bool decode(const QByteArray& name, std::u32string& out)
{
    bool valid = true;
    const auto* s = reinterpret_cast<const unsigned char*>(name.constData());
    const int n = name.size();
    for (int i = 0; i < n;) {
        const unsigned c = s[i];
        int len = c < 0x80             ? 1
                  : (c & 0xE0) == 0xC0 ? 2
                  : (c & 0xF0) == 0xE0 ? 3
                  : (c & 0xF8) == 0xF0 ? 4
                                       : 0;
        char32_t cp = len == 1 ? c : len == 2 ? c & 0x1F : len == 3 ? c & 0x0F : c & 0x07;
        bool ok = len > 0 && i + len <= n;
        for (int k = 1; ok && k < len; ++k) {
            ok = (s[i + k] & 0xC0) == 0x80;
            cp = (cp << 6) | (s[i + k] & 0x3F);
        }
        static const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        ok = ok && cp >= least[len] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        if (ok) {
            out.push_back(cp);
            i += len;
            continue;
        }
        valid = false;
        if (len > 1 && i + len > n) // cut short at the end: iconv stops there
            break;
        out.push_back(0xDC00 + c);
        ++i;
    }
    return valid;
}

// libisofs's ASCII for the ISO 9660 names: what is not ASCII becomes '_'.
std::string asciiOf(const std::u32string& cps)
{
    std::string s;
    s.reserve(cps.size());
    for (char32_t c : cps)
        s.push_back(c < 0x80 ? char(c) : '_');
    return s;
}

char dChar(char c)
{
    if (c >= 'a' && c <= 'z')
        c = char(c - 'a' + 'A');
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_' ? c : '_';
}

// iso_2_fileid: 30 characters for name and extension together, the
// extension kept to 3 when both are long; the dot is always there.
std::string isoFileId(const std::string& a)
{
    const std::size_t n = a.size(), dot = a.rfind('.');
    std::size_t lname, lnname, lnext = 0;
    if (dot == std::string::npos || dot + 1 == n) {
        lname = n;
        lnname = std::min<std::size_t>(lname, 30);
    } else {
        const std::size_t lext = n - dot - 1;
        lname = n - lext - 1;
        lnext = n > 31 && lext > 3 ? (lname < 27 ? 30 - lname : 3) : lext;
        lnname = n > 31 ? 30 - lnext : lname;
    }
    std::string id;
    for (std::size_t i = 0; i < lnname; ++i)
        id.push_back(dChar(a[i]));
    id.push_back('.');
    for (std::size_t i = 0; i < lnext; ++i)
        id.push_back(dChar(a[lname + 1 + i]));
    return id;
}

std::u16string jolietUnits(const std::u32string& cps)
{
    std::u16string u;
    u.reserve(cps.size());
    for (char32_t c : cps) {
        const bool bad = c < 0x20 || c > 0xFFFF || (c >= 0xDC00 && c <= 0xDCFF) || c == '*' ||
                         c == '/' || c == ':' || c == ';' || c == '?' || c == '\\';
        u.push_back(bad ? u'_' : char16_t(c));
    }
    return u;
}

// iso_j_file_id without forced dots: 64 characters besides the dot.
std::u16string jolietFileId(const std::u16string& s)
{
    const std::size_t n = s.size(), dot = s.rfind(u'.');
    if (dot == std::u16string::npos || dot + 1 == n)
        return s.substr(0, JolietMax);
    const std::size_t lext = n - dot - 1, lname = n - lext - 1;
    const std::size_t lnext =
        n > JolietMax + 1 && lext > 3 ? (lname < JolietMax - 3 ? JolietMax - lname : 3) : lext;
    const std::size_t lnname = n > JolietMax + 1 ? JolietMax - lnext : lname;
    return s.substr(0, lnname) + u'.' + s.substr(lname + 1, lnext);
}

template <class Str> struct Named
{
    Str id;
    const Item* item;
};

template <class Str> Str digitsOf(unsigned number, int digits)
{
    Str d(std::size_t(digits), '0');
    for (int k = digits - 1; k >= 0; --k, number /= 10)
        d[std::size_t(k)] = typename Str::value_type('0' + number % 10);
    return d;
}

// mangle_single_dir of ecma119_tree.c (iso) and joliet.c: identifiers that
// clash get a number before the extension, shortened to stay within max.
// The hash table there keeps a name while the first item that had it does.
template <class Str> void makeUnique(std::vector<Named<Str>>& v, std::size_t max, bool iso)
{
    auto byId = [](const Named<Str>& a, const Named<Str>& b) {
        return a.id != b.id ? a.id < b.id : a.item->name < b.item->name;
    };
    std::sort(v.begin(), v.end(), byId);
    std::map<Str, std::size_t> owner;
    for (std::size_t i = 0; i < v.size(); ++i)
        owner.emplace(v[i].id, i);
    bool changed = false;
    for (std::size_t i = 0; i < v.size(); ++i) {
        std::size_t j = i;
        while (j + 1 < v.size() && v[j + 1].id == v[i].id)
            ++j;
        if (j == i)
            continue;
        for (int digits = 1; digits < 8; ++digits) {
            Str full = iso ? v[i].id.substr(0, 39) : v[i].id;
            const std::size_t dot = full.rfind(typename Str::value_type('.'));
            Str name = full, ext;
            bool withDot = false;
            if (dot != Str::npos && !v[i].item->folder) {
                name = full.substr(0, dot);
                ext = full.substr(dot + 1);
                long extlen = long(ext.size());
                long room = long(max) - extlen - (iso ? 1 : 0) - digits;
                if (room <= 0) {
                    if (iso) {
                        extlen = extlen + room - 1;
                        room = long(max) - extlen - 1 - digits;
                    } else {
                        room = dot > 0 ? 1 : 0;
                        extlen = long(max) - room - digits;
                    }
                    ext.resize(std::size_t(std::max(0L, extlen)));
                }
                if (std::size_t(room) < name.size())
                    name.resize(std::size_t(room));
                withDot = iso || !ext.empty();
            } else if (max - std::size_t(digits) < name.size()) {
                name.resize(max - std::size_t(digits));
            }
            bool ok = true;
            unsigned change = 0, limit = 1;
            for (int k = 0; k < digits; ++k)
                limit *= 10;
            for (std::size_t k = i; k <= j && ok; ++k) {
                Str tmp;
                for (;;) {
                    tmp = name + digitsOf<Str>(change, digits);
                    if (withDot)
                        tmp += typename Str::value_type('.') + ext;
                    if (++change > limit) {
                        ok = false;
                        break;
                    }
                    if (!owner.count(tmp))
                        break;
                }
                if (!ok)
                    break;
                auto it = owner.find(v[k].id);
                if (it != owner.end() && it->second == k)
                    owner.erase(it);
                v[k].id = tmp;
                owner.emplace(tmp, k);
                changed = true;
            }
            if (ok)
                break;
        }
        i = j;
    }
    if (changed)
        std::sort(v.begin(), v.end(), byId);
}

// A record laid into a directory of len bytes: it never crosses a block.
quint64 place(quint64 len, quint64 record)
{
    const quint64 room = B - len % B;
    return record > room ? len + room + record : len + record;
}

// The continuation area as rrip_calc_len counts it, when pieces of an
// item's fields go there after pos bytes of the folder's area. An item
// whose pieces would cross a block starts on the next one; libisofs 1.5.4
// then counts the skipped bytes twice, and another block when fewer than
// 28 bytes were left.
quint64 counted(quint64 pos, const std::vector<quint64>& pieces)
{
    quint64 total = 0;
    for (quint64 p : pieces)
        total += p;
    if (total == 0)
        return pos;
    if (pos / B == (pos + total + CeEntry - 1) / B)
        return pos + total;
    quint64 ce = 0;
    for (quint64 p : pieces) {
        if ((ce + pos + p + CeEntry - 1) / B != (ce + pos) / B) {
            ce += CeEntry;
            if ((ce + pos) % B)
                ce += B - (ce + pos) % B;
        }
        ce += p;
    }
    return pos + ce + (pos % B ? B - pos % B : 0);
}

// The area as libisofs writes it: the item starts on the next block
// instead of crossing one (each piece checked on its own).
quint64 written(quint64 pos, const std::vector<quint64>& pieces)
{
    quint64 total = 0;
    for (quint64 p : pieces)
        total += p;
    if (total == 0)
        return pos;
    if (pos % B && pos / B != (pos + total + CeEntry - 1) / B)
        pos += B - pos % B;
    for (quint64 p : pieces) {
        if ((pos + p + CeEntry - 1) / B != pos / B)
            pos += CeEntry + (B - (pos + CeEntry) % B) % B;
        pos += p;
    }
    return pos;
}

// The SL pieces of a link's target, as susp_calc_nm_sl_al cuts them: each
// component takes 2 bytes and its name ("." and ".." none), an SL field at
// most 255 bytes.
quint64 componentsBytes(const QByteArray& target, std::vector<quint64>* pieces)
{
    quint64 sl = 5;
    int start = 0;
    for (;;) {
        const int slash = target.indexOf('/', start);
        const QByteArray c = target.mid(start, slash < 0 ? -1 : slash - start);
        const quint64 clen = (c == "." || c == ".." ? 0 : quint64(c.size())) + 2;
        if (pieces && sl + clen > 255) {
            if (clen > 250) {
                const qint64 fit = qint64(255 - sl) - 2;
                if (qint64(clen) - 250 <= fit) {
                    pieces->push_back(255);
                    sl = 5 + (clen - quint64(fit));
                } else {
                    pieces->push_back(sl);
                    pieces->push_back(255);
                    sl = 5 + (clen - 250) + 2;
                }
            } else {
                pieces->push_back(sl);
                sl = 5 + clen;
            }
        } else {
            sl += clen;
        }
        if (slash < 0 || slash + 1 == target.size())
            break;
        start = slash + 1;
    }
    return sl;
}

// The Rock Ridge bytes of an item's record (returned) and the pieces that
// go to the continuation area, for a record of dirent bytes before them.
quint64 rockRidge(const Item& item, quint64 dirent, std::vector<quint64>& pieces)
{
    const quint64 space = RecordMax - dirent;
    const quint64 nm = 5 + quint64(item.name.size());
    const quint64 sl = item.link ? componentsBytes(item.target, nullptr) : 0;
    if (PxTf + nm + sl <= space)
        return (PxTf + nm + sl + 1) / 2 * 2;
    quint64 su = PxTf + CeEntry;
    bool inArea = false;
    if (su + nm <= space) {
        su += nm;
    } else {
        pieces.push_back(nm - (space - su - 5)); // the rest of the name, in its own NM
        su = space;
        inArea = true;
    }
    if (item.link) {
        if (!inArea && su + sl <= space) {
            su += sl;
        } else {
            const quint64 last = componentsBytes(item.target, &pieces);
            pieces.push_back(last);
        }
    }
    return (su + 1) / 2 * 2;
}

quint64 blocksOf(quint64 bytes)
{
    return (bytes + B - 1) / B;
}

// Whether libisofs may shorten or map the Joliet name, so that it can
// clash with another and be made longer.
bool jolietMayClash(const std::u16string& id, const std::u32string& cps)
{
    if (id.size() != cps.size())
        return true;
    for (std::size_t i = 0; i < id.size(); ++i)
        if (id[i] != cps[i])
            return true;
    return false;
}

} // namespace

std::string isoName(const QByteArray& name, bool folder)
{
    std::u32string cps;
    if (!decode(name, cps)) { // iconv then goes byte by byte
        cps.clear();
        for (char c : name)
            cps.push_back(char32_t(uchar(c)));
    }
    const std::string a = asciiOf(cps);
    if (!folder)
        return isoFileId(a);
    std::string id;
    for (std::size_t i = 0; i < std::min<std::size_t>(a.size(), IsoMax); ++i)
        id.push_back(dChar(a[i]));
    return id;
}

std::u16string jolietName(const QByteArray& name, bool folder)
{
    std::u32string cps;
    decode(name, cps);
    const std::u16string u = jolietUnits(cps);
    return folder ? u.substr(0, JolietMax) : jolietFileId(u);
}

quint32 sections(quint64 size)
{
    return size > OneSection ? quint32((size - OneSection + SectionBytes - 1) / SectionBytes + 1)
                             : 1;
}

quint64 dataBlocks(quint64 size)
{
    return blocksOf(size);
}

FolderCost folderCost(const std::vector<Item>& items, bool root)
{
    FolderCost cost;
    bool uncertain = false;
    std::vector<Named<std::string>> iso;
    std::vector<Named<std::u16string>> joliet;
    iso.reserve(items.size());
    joliet.reserve(items.size());
    for (const Item& it : items) {
        std::u32string cps;
        uncertain = !decode(it.name, cps) || uncertain;
        iso.push_back({isoName(it.name, it.folder), &it});
        joliet.push_back({jolietName(it.name, it.folder), &it});
    }
    makeUnique(iso, IsoMax, true);
    makeUnique(joliet, JolietMax, false);

    quint64 len = root ? RootDotRecords : DotRecords;
    quint64 area = root ? RootEr : 0, real = area;
    std::vector<quint64> pieces;
    for (const auto& n : iso) {
        const Item& it = *n.item;
        const quint64 dirent = (33 + n.id.size() + (it.folder ? 0 : 2) + 1) / 2 * 2;
        pieces.clear();
        const quint64 record = dirent + rockRidge(it, dirent, pieces);
        for (quint32 s = it.folder ? 1 : sections(it.size); s > 0; --s) {
            len = place(len, record);
            area = counted(area, pieces);
            real = written(real, pieces);
        }
        if (it.folder)
            cost.pathTableBytes += 2 * (8 + n.id.size() + n.id.size() % 2);
    }
    cost.blocks = blocksOf(len) + blocksOf(area);
    cost.miscounted = blocksOf(area) != blocksOf(real);

    len = JolietDots;
    for (const auto& n : joliet) {
        const Item& it = *n.item;
        if (it.link) // Joliet has no links
            continue;
        for (quint32 s = it.folder ? 1 : sections(it.size); s > 0; --s)
            len = place(len, 34 + 2 * n.id.size());
        if (it.folder)
            cost.pathTableBytes += 2 * (8 + 2 * n.id.size());
    }
    cost.blocks += blocksOf(len);
    // Names that are not UTF-8 sort and shorten by rules not followed here.
    if (uncertain)
        cost.blocks += 3;
    return cost;
}

quint64 rootItemBytes(const Item& item)
{
    // The longest identifier a clash can make; a longer one only leaves more
    // of the record to the Rock Ridge name.
    const quint64 dirent = item.folder ? 33 + IsoMax : 33 + IsoMax + 2 + 1;
    std::vector<quint64> pieces;
    const quint64 record = dirent + rockRidge(item, dirent, pieces);
    quint64 area = 0;
    for (quint64 p : pieces)
        area += p;
    // An item whose name crosses a block of the area: the bytes skipped,
    // counted twice, and one block more when fewer than 28 were left; at
    // most 2102 bytes. A name's piece is at most 167 bytes here, so such an
    // item starts a block at most 361 bytes in, and the next crossing comes
    // 1493 bytes of names later at the earliest: 1.41 bytes skipped per
    // byte of names, and one crossing more in the root's base.
    if (pieces.size() == 1 && !item.link)
        area = (5 * area + 1) / 2;
    else if (area) // a link's pieces: each may cross
        area += pieces.size() * (2 * RootCrossing + B + CeEntry);
    // Records do not cross blocks: a block of the root holds at least
    // 2048 - 253 bytes of ISO records, 2048 - 163 of Joliet ones.
    auto packed = [](quint64 bytes, quint64 longest) {
        return (bytes * B + (B - longest) - 1) / (B - longest);
    };
    std::u32string cps;
    decode(item.name, cps);
    const std::u16string j = jolietName(item.name, item.folder);
    const quint64 jlen = jolietMayClash(j, cps) ? JolietMax + (item.folder ? 0 : 1) : j.size();
    const quint32 n = item.folder ? 1 : sections(item.size);
    quint64 bytes = n * (packed(record, RecordMax - 1) + area);
    if (!item.link)
        bytes += n * packed(34 + 2 * jlen, 34 + 2 * (JolietMax + 1) - 1);
    if (item.folder)
        bytes += 2 * (8 + IsoMax + 1) + 2 * (8 + 2 * jlen);
    return bytes;
}

quint64 rootBaseBytes()
{
    // The root's "." and "..", the ER and one crossing in the continuation
    // area (see rootItemBytes), the root's path table records.
    return RootDotRecords + RootEr + RootCrossing + JolietDots + 2 * 10 + 2 * 10;
}

quint64 fixedBlocks()
{
    // The structures before the data take at least 7 blocks (the root's
    // directories and continuation area, four path tables), so padding the
    // head to 32 blocks adds at most 32 - 19 - 7 to what is counted. On
    // the disc the track ends on a whole chunk.
    const quint64 head = SystemArea + Descriptors + (LeastHead - SystemArea - Descriptors - 7);
    return head + 1 + TailPadding + (SharedParts - 1) + (TrackChunk - 1);
}

} // namespace IsoMeta
