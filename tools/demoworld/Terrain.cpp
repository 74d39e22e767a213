#include "tools/demoworld/Terrain.h"

#include "tools/demoworld/Random.h"

#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>

namespace demoworld {

namespace {

constexpr int kStep = 4;           // pixels per grid sample
constexpr float kFeature = 1000.f; // pixels per unit of the base noise

float Smoothstep(float a, float b, float x)
{
    const float t = std::clamp((x - a) / (b - a), 0.f, 1.f);
    return t * t * (3.f - 2.f * t);
}

float Lerp(float a, float b, float t)
{
    return a + (b - a) * t;
}

// A small whole number (a pixel coordinate or colour channel) as float: exact.
constexpr float F(int v)
{
    return static_cast<float>(v);
}

QRgb Mix(QRgb a, QRgb b, float t)
{
    t = std::clamp(t, 0.f, 1.f);
    return qRgb(int(Lerp(F(qRed(a)), F(qRed(b)), t) + 0.5f), int(Lerp(F(qGreen(a)), F(qGreen(b)), t) + 0.5f),
                int(Lerp(F(qBlue(a)), F(qBlue(b)), t) + 0.5f));
}

// Gradient noise over a permutation table drawn from the seed.
class Noise {
public:
    explicit Noise(uint64_t seed)
    {
        Random rng(seed);
        std::vector<int> p(256);
        for (int i = 0; i < 256; ++i)
            p[i] = i;
        rng.shuffle(p);
        for (int i = 0; i < 512; ++i)
            m_perm[i] = static_cast<uint8_t>(p[i & 255]);
    }

    float at(float x, float y) const
    {
        const float fx = std::floor(x), fy = std::floor(y);
        const int xi = static_cast<int>(fx) & 255, yi = static_cast<int>(fy) & 255;
        const float dx = x - fx, dy = y - fy;
        const float u = dx * dx * dx * (dx * (dx * 6 - 15) + 10);
        const float v = dy * dy * dy * (dy * (dy * 6 - 15) + 10);
        const float n00 = grad(m_perm[m_perm[xi] + yi], dx, dy);
        const float n10 = grad(m_perm[m_perm[xi + 1] + yi], dx - 1, dy);
        const float n01 = grad(m_perm[m_perm[xi] + yi + 1], dx, dy - 1);
        const float n11 = grad(m_perm[m_perm[xi + 1] + yi + 1], dx - 1, dy - 1);
        return Lerp(Lerp(n00, n10, u), Lerp(n01, n11, u), v);
    }

    float fbm(float x, float y, int octaves) const
    {
        float sum = 0, amp = 0.5f, freq = 1;
        for (int o = 0; o < octaves; ++o) {
            sum += amp * at(x * freq, y * freq);
            freq *= 2.03f;
            amp *= 0.5f;
        }
        return sum * 1.6f;
    }

private:
    static float grad(uint8_t h, float x, float y)
    {
        switch (h & 7) {
        case 0:
            return x + y;
        case 1:
            return x - y;
        case 2:
            return -x + y;
        case 3:
            return -x - y;
        case 4:
            return x * 1.4142f;
        case 5:
            return -x * 1.4142f;
        case 6:
            return y * 1.4142f;
        default:
            return -y * 1.4142f;
        }
    }
    std::array<uint8_t, 512> m_perm{};
};

// A tileable 256 x 256 texture of fine detail shared by every map: it gives
// the coastlines and colour fields their small-scale roughness.
struct DetailTexture {
    std::vector<float> coarse, fine;
    DetailTexture() : coarse(std::size_t{256} * 256), fine(std::size_t{256} * 256)
    {
        const Noise n(0xD37A11ull);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x) {
                // Periodic sampling over a torus-free trick: blend four shifted
                // copies so that the texture wraps at 256 pixels.
                auto tile = [&](float s, float ox) {
                    const float fx = F(x) / 256.f, fy = F(y) / 256.f;
                    const float a = n.at(F(x) * s + ox, F(y) * s);
                    const float b = n.at(F(x - 256) * s + ox, F(y) * s);
                    const float c = n.at(F(x) * s + ox, F(y - 256) * s);
                    const float d = n.at(F(x - 256) * s + ox, F(y - 256) * s);
                    return Lerp(Lerp(a, b, fx), Lerp(c, d, fx), fy);
                };
                coarse[y * 256 + x] = tile(1 / 16.f, 0) + 0.5f * tile(1 / 8.f, 50);
                fine[y * 256 + x] = tile(1 / 3.f, 100);
            }
    }
    float c(int x, int y) const { return coarse[(y & 255) * 256 + (x & 255)]; }
    float f(int x, int y) const { return fine[(y & 255) * 256 + (x & 255)]; }
};

const DetailTexture& Detail()
{
    static const DetailTexture t;
    return t;
}

uint32_t Hash(int x, int y, uint64_t seed)
{
    return static_cast<uint32_t>(Random::mix(seed ^ (uint64_t(uint32_t(x)) << 32 | uint32_t(y))));
}

} // namespace

const Palette& CampaignPalette(int campaign)
{
    static const Palette temperate{qRgb(38, 74, 118),
                                   qRgb(92, 146, 180),
                                   qRgb(58, 52, 40),
                                   qRgb(222, 204, 150),
                                   qRgb(168, 176, 96),
                                   qRgb(112, 156, 78),
                                   qRgb(74, 122, 62),
                                   qRgb(38, 78, 40),
                                   qRgb(104, 150, 82),
                                   qRgb(150, 146, 98),
                                   qRgb(146, 132, 112),
                                   qRgb(92, 80, 66),
                                   qRgb(242, 244, 246),
                                   qRgb(96, 148, 184),
                                   qRgb(70, 116, 170),
                                   qRgb(128, 92, 56),
                                   qRgb(236, 224, 190),
                                   0.88f,
                                   0.56f,
                                   false};
    static const Palette arid{qRgb(24, 92, 120),
                              qRgb(64, 160, 170),
                              qRgb(90, 62, 36),
                              qRgb(238, 214, 158),
                              qRgb(214, 178, 112),
                              qRgb(184, 168, 92),
                              qRgb(128, 138, 70),
                              qRgb(82, 92, 44),
                              qRgb(150, 160, 88),
                              qRgb(196, 146, 92),
                              qRgb(170, 110, 70),
                              qRgb(112, 70, 44),
                              qRgb(244, 232, 210),
                              qRgb(60, 150, 166),
                              qRgb(52, 128, 156),
                              qRgb(120, 70, 40),
                              qRgb(242, 226, 190),
                              0.95f,
                              0.66f,
                              false};
    static const Palette volcanic{qRgb(30, 36, 56),
                                  qRgb(70, 86, 104),
                                  qRgb(36, 20, 16),
                                  qRgb(120, 108, 100),
                                  qRgb(122, 104, 82),
                                  qRgb(108, 112, 74),
                                  qRgb(70, 76, 52),
                                  qRgb(40, 40, 30),
                                  qRgb(96, 100, 70),
                                  qRgb(120, 88, 70),
                                  qRgb(96, 70, 64),
                                  qRgb(56, 38, 36),
                                  qRgb(196, 188, 182),
                                  qRgb(150, 70, 40),
                                  qRgb(206, 96, 40),
                                  qRgb(60, 40, 32),
                                  qRgb(210, 196, 180),
                                  0.80f,
                                  0.60f,
                                  false};
    static const Palette frozen{qRgb(34, 62, 96),
                                qRgb(104, 150, 176),
                                qRgb(44, 56, 70),
                                qRgb(172, 174, 164),
                                qRgb(136, 148, 136),
                                qRgb(108, 134, 118),
                                qRgb(74, 104, 94),
                                qRgb(36, 64, 60),
                                qRgb(100, 134, 120),
                                qRgb(128, 136, 140),
                                qRgb(112, 120, 130),
                                qRgb(72, 80, 92),
                                qRgb(244, 246, 250),
                                qRgb(150, 190, 210),
                                qRgb(110, 160, 196),
                                qRgb(110, 96, 86),
                                qRgb(226, 232, 236),
                                0.72f,
                                0.54f,
                                true};
    switch (campaign) {
    case 2:
        return arid;
    case 3:
        return volcanic;
    case 4:
        return frozen;
    default:
        return temperate;
    }
}

Terrain::Terrain(uint64_t seed, int width, int height, const Palette& palette)
    : m_width(width), m_height(height), m_gw(width / kStep + 3), m_gh(height / kStep + 3), m_palette(palette),
      m_seed(seed)
{
    buildFields(seed);
    traceRivers(Random::derive(seed, 7));
}

void Terrain::buildFields(uint64_t seed)
{
    const Noise n(seed);
    Random rng(Random::derive(seed, 1));
    // Where the sea lies: along one side, around an island, or (inland) only
    // as lakes.
    const int layout = rng.below(5); // 0, 1: coast, 2: island, 3: inland, 4: two coasts
    const double angle = rng.range(0.0, 6.283185307);
    const float dx = float(std::cos(angle)), dy = float(std::sin(angle));
    const float mountains = float(rng.range(0.15, 0.36));
    const float ox = float(rng.range(0.0, 200.0)), oy = float(rng.range(0.0, 200.0));

    m_h.assign(size_t(m_gw) * m_gh, 0);
    m_m.assign(m_h.size(), 0);
    m_lake.assign(m_h.size(), 0);
    for (int j = 0; j < m_gh; ++j) {
        for (int i = 0; i < m_gw; ++i) {
            const float px = float(i * kStep), py = float(j * kStep);
            const float u = px / kFeature + ox, v = py / kFeature + oy;
            const float wx = n.fbm(u * 0.8f + 3.1f, v * 0.8f + 7.7f, 3);
            const float wy = n.fbm(u * 0.8f + 11.3f, v * 0.8f + 1.9f, 3);
            const float uu = u + 0.35f * wx, vv = v + 0.35f * wy;
            const float base = n.fbm(uu, vv, 6);
            const float nx = px / F(m_width) * 2 - 1, ny = py / F(m_height) * 2 - 1;
            float bias;
            switch (layout) {
            case 2:
                bias = 0.30f - 0.55f * (nx * nx + ny * ny);
                break;
            case 3:
                bias = 0.24f;
                break;
            case 4: {
                const float s = std::abs(nx * dx + ny * dy);
                bias = 0.22f - 0.5f * Smoothstep(0.45f, 1.1f, s);
                break;
            }
            default: {
                const float s = nx * dx + ny * dy;
                bias = 0.22f - 0.55f * Smoothstep(-0.1f, 1.0f, s);
            }
            }
            // Keep a margin of land or sea at the border from looking cut:
            // nothing special is done, the map simply continues off the sheet.
            const float h0 = base + bias;
            float ridge = 1.f - std::abs(n.fbm(uu * 2.1f + 5.f, vv * 2.1f + 5.f, 4));
            ridge = ridge * ridge;
            const float h = h0 + Smoothstep(0.2f, 0.5f, h0) * ridge * mountains;
            const size_t k = size_t(j) * m_gw + i;
            m_h[k] = h;
            m_m[k] = 0.5f + 0.8f * n.fbm(u * 1.6f + 23.f, v * 1.6f - 13.f, 4) - 0.2f * std::max(0.f, h - 0.3f);
            const float lake = n.fbm(u * 2.6f + 41.f, v * 2.6f + 17.f, 3) - 0.36f;
            m_lake[k] = lake - 2.5f * std::max(0.f, h - 0.32f) - 2.5f * std::max(0.f, 0.09f - h);
        }
    }
    // Slopes for the hill shading, over the sea surface rather than its floor.
    m_gx.assign(m_h.size(), 0);
    m_gy.assign(m_h.size(), 0);
    for (int j = 1; j + 1 < m_gh; ++j)
        for (int i = 1; i + 1 < m_gw; ++i) {
            const size_t k = size_t(j) * m_gw + i;
            m_gx[k] = std::max(m_h[k + 1], 0.f) - std::max(m_h[k - 1], 0.f);
            m_gy[k] = std::max(m_h[k + m_gw], 0.f) - std::max(m_h[k - m_gw], 0.f);
        }
}

Terrain::Shaded Terrain::shadedAt(int x, int y) const
{
    const float gx = std::min(float(x) / kStep, F(m_gw) - 1.001f);
    const float gy = std::min(float(y) / kStep, F(m_gh) - 1.001f);
    const int i = int(gx), j = int(gy);
    const float fx = gx - F(i), fy = gy - F(j);
    const size_t k = size_t(j) * m_gw + i;
    const float w00 = (1 - fx) * (1 - fy), w10 = fx * (1 - fy), w01 = (1 - fx) * fy, w11 = fx * fy;
    auto bil = [&](const std::vector<float>& f) {
        return f[k] * w00 + f[k + 1] * w10 + f[k + m_gw] * w01 + f[k + m_gw + 1] * w11;
    };
    return {bil(m_h), bil(m_m), bil(m_lake), bil(m_gx), bil(m_gy)};
}

Terrain::Sample Terrain::sampleAt(float x, float y) const
{
    const float gx = std::clamp(x / kStep, 0.f, F(m_gw) - 1.001f);
    const float gy = std::clamp(y / kStep, 0.f, F(m_gh) - 1.001f);
    const int i = int(gx), j = int(gy);
    const float fx = gx - F(i), fy = gy - F(j);
    const size_t k = size_t(j) * m_gw + i;
    const float w00 = (1 - fx) * (1 - fy), w10 = fx * (1 - fy), w01 = (1 - fx) * fy, w11 = fx * fy;
    auto bil = [&](const std::vector<float>& f) {
        return f[k] * w00 + f[k + 1] * w10 + f[k + m_gw] * w01 + f[k + m_gw + 1] * w11;
    };
    return {bil(m_h), bil(m_m), bil(m_lake)};
}

float Terrain::heightAt(int x, int y) const
{
    const DetailTexture& d = Detail();
    return sampleAt(float(x), float(y)).h + 0.03f * d.c(x, y);
}

bool Terrain::riverNear(int x, int y) const
{
    const int i = std::clamp(x / kStep, 0, m_gw - 1), j = std::clamp(y / kStep, 0, m_gh - 1);
    return m_riverMask[size_t(j) * m_gw + i] != 0;
}

bool Terrain::isLand(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return false;
    const DetailTexture& d = Detail();
    const Sample s = sampleAt(float(x), float(y));
    const float h = s.h + 0.03f * d.c(x, y);
    const float lake = s.lake + 0.03f * d.c(x + 97, y + 31);
    return h > 0.035f && lake < -0.02f && !riverNear(x, y);
}

bool Terrain::isLandAround(int x, int y, int radius) const
{
    if (!isLand(x, y))
        return false;
    static const int ring[8][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}, {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
    for (const auto& o : ring)
        if (!isLand(x + o[0] * radius, y + o[1] * radius))
            return false;
    return true;
}

void Terrain::traceRivers(uint64_t seed)
{
    m_riverMask.assign(size_t(m_gw) * m_gh, 0);
    Random rng(seed);
    const int wanted = 2 + int(double(m_width) * m_height / 1.6e6);
    auto h = [&](int i, int j) { return m_h[size_t(j) * m_gw + i]; };
    auto water = [&](int i, int j) {
        const size_t k = size_t(j) * m_gw + i;
        return m_h[k] < 0.f || m_lake[k] > 0.f;
    };
    for (int attempt = 0; attempt < 300 && int(m_rivers.size()) < wanted; ++attempt) {
        int i = rng.range(2, m_gw - 3), j = rng.range(2, m_gh - 3);
        if (h(i, j) < 0.42f || h(i, j) > 0.8f)
            continue;
        std::vector<QPoint> cells{{i, j}};
        bool reached = false;
        int climbs = 0;
        for (int steps = 0; steps < 3000; ++steps) {
            int bi = -1, bj = -1;
            float best = 1e9f;
            for (int oy = -1; oy <= 1; ++oy)
                for (int ox = -1; ox <= 1; ++ox) {
                    if (!ox && !oy)
                        continue;
                    const int ni = i + ox, nj = j + oy;
                    if (ni < 1 || nj < 1 || ni >= m_gw - 1 || nj >= m_gh - 1)
                        continue;
                    if (std::find(cells.begin(), cells.end(), QPoint(ni, nj)) != cells.end())
                        continue;
                    const float v = h(ni, nj) + float(rng.unit()) * 0.004f;
                    if (v < best) {
                        best = v;
                        bi = ni;
                        bj = nj;
                    }
                }
            if (bi < 0)
                break;
            if (best >= h(i, j) && ++climbs > 6)
                break;
            i = bi;
            j = bj;
            cells.emplace_back(i, j);
            if (water(i, j)) {
                reached = true;
                break;
            }
            if (i <= 1 || j <= 1 || i >= m_gw - 2 || j >= m_gh - 2) {
                reached = true; // runs off the sheet
                break;
            }
        }
        if (!reached || cells.size() < 30)
            continue;
        std::vector<QPointF> pts;
        for (size_t c = 0; c < cells.size(); c += 2)
            pts.emplace_back(cells[c].x() * kStep + rng.range(-1.5, 1.5), cells[c].y() * kStep + rng.range(-1.5, 1.5));
        pts.emplace_back(cells.back().x() * kStep, cells.back().y() * kStep);
        for (int pass = 0; pass < 2; ++pass) { // corner cutting for a drawn-by-hand curve
            std::vector<QPointF> s{pts.front()};
            for (size_t c = 0; c + 1 < pts.size(); ++c) {
                s.push_back(pts[c] * 0.75 + pts[c + 1] * 0.25);
                s.push_back(pts[c] * 0.25 + pts[c + 1] * 0.75);
            }
            s.push_back(pts.back());
            pts.swap(s);
        }
        m_rivers.push_back(std::move(pts));
        for (const QPoint& c : cells)
            for (int oy = -2; oy <= 2; ++oy)
                for (int ox = -2; ox <= 2; ++ox) {
                    const int ni = c.x() + ox, nj = c.y() + oy;
                    if (ni >= 0 && nj >= 0 && ni < m_gw && nj < m_gh)
                        m_riverMask[size_t(nj) * m_gw + ni] = 1;
                }
    }
}

QImage Terrain::render(const std::vector<Road>& roads) const
{
    const Palette& p = m_palette;
    const DetailTexture& d = Detail();
    QImage img(m_width, m_height, QImage::Format_RGB32);
    // Colours as floats while a pixel is mixed; rounded once at the end.
    struct Rgb {
        float r, g, b;
        Rgb() = default;
        Rgb(float r_, float g_, float b_) : r(r_), g(g_), b(b_) {}
        explicit Rgb(QRgb c) : r(float(qRed(c))), g(float(qGreen(c))), b(float(qBlue(c))) {}
    };
    auto mix = [](const Rgb& a, const Rgb& b, float t) {
        t = std::clamp(t, 0.f, 1.f);
        return Rgb(a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t);
    };
    const Rgb shallow(p.shallowSea), deep(p.deepSea), coast(p.coastLine), lakeC(p.lake), sand(p.sand);
    const Rgb dryGrass(p.dryGrass), grass(p.grass), forest(p.forest), hills(p.hills), rock(p.rock), snow(p.snow);
    const Rgb paper(p.paper);
    const Rgb shallowLight = mix(shallow, Rgb(235, 240, 230), 0.35f);
    const Rgb beach = mix(coast, sand, 0.35f);

    for (int y = 0; y < m_height; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        const float vy = std::abs(2.f * F(y) / F(m_height) - 1.f);
        for (int x = 0; x < m_width; ++x) {
            const Shaded s = shadedAt(x, y);
            const float dc = d.c(x, y), df = d.f(x, y);
            const float h = s.h + 0.03f * dc;
            const float lake = s.lake + 0.03f * d.c(x + 97, y + 31);
            Rgb c;
            float shadeAmount = 1.f;
            if (h <= 0.f) {
                const float depth = -h;
                c = mix(shallow, deep, Smoothstep(0.f, 0.3f, depth));
                if (depth < 0.05f)
                    c = mix(c, shallowLight, (1.f - depth / 0.05f) * 0.55f);
                // Ripple lines parallel to the coast, as drawn on old charts.
                const float band = depth * 90.f - std::floor(depth * 90.f);
                if (depth < 0.09f && band < 0.12f)
                    c = mix(c, shallowLight, 0.35f * (1.f - depth / 0.09f));
                if (depth < 0.006f)
                    c = coast;
                shadeAmount = 0.25f;
            } else if (lake > 0.f) {
                c = mix(lakeC, deep, Smoothstep(0.f, 0.25f, lake) * 0.5f);
                if (lake < 0.012f)
                    c = coast;
                shadeAmount = 0.2f;
            } else if (h < 0.035f) {
                c = (h < 0.008f) ? beach : sand;
            } else {
                const float m = s.m + 0.06f * df;
                c = mix(dryGrass, grass, Smoothstep(0.3f, 0.62f, m));
                if (h < 0.06f)
                    c = mix(sand, c, Smoothstep(0.035f, 0.06f, h));
                if (h < 0.55f)
                    c = mix(c, forest,
                            Smoothstep(p.forestAbove - 0.02f, p.forestAbove + 0.04f, m) *
                                (1.f - Smoothstep(0.42f, 0.55f, h)));
                if (h > 0.3f) {
                    c = mix(c, hills, Smoothstep(0.3f, 0.48f, h));
                    if (h > 0.5f)
                        c = mix(c, rock, Smoothstep(0.5f, 0.68f, h));
                    if (h > p.snowLevel)
                        c = mix(c, snow, Smoothstep(p.snowLevel, p.snowLevel + 0.06f, h));
                }
            }
            // Light from the upper left.
            float light = 1.f - (s.gx + s.gy) * 5.5f * shadeAmount;
            light = std::clamp(light, 0.72f, 1.22f);
            // Paper grain and a soft darkening toward the sheet's edges.
            const float vx = std::abs(2.f * F(x) / F(m_width) - 1.f);
            const float edge = std::max(vx, vy);
            light *= 0.955f + 0.05f * df + 0.02f * dc - (edge > 0.82f ? 0.12f * Smoothstep(0.82f, 1.f, edge) : 0.f);
            // 7% of paper tone over the shaded colour.
            const float k = 0.93f * light;
            auto ch = [&](float v, float pv) { return std::clamp(int(v * k + pv * 0.07f + 0.5f), 0, 255); };
            line[x] = qRgb(ch(c.r, paper.r), ch(c.g, paper.g), ch(c.b, paper.b));
        }
    }

    QPainter painter(&img);
    painter.setRenderHint(QPainter::Antialiasing, true);

    // Rivers, thin at the spring and wider toward the mouth.
    for (const auto& river : m_rivers) {
        const size_t n = river.size();
        for (size_t k = 0; k + 1 < n; ++k) {
            const double t = double(k) / double(n);
            QPen pen(QColor(p.river), 1.2 + 2.4 * t);
            pen.setCapStyle(Qt::RoundCap);
            painter.setPen(pen);
            painter.drawLine(river[k], river[k + 1]);
        }
    }

    // Trees on forest ground.
    const uint64_t symbolSeed = Random::derive(m_seed, 11);
    const QColor dark(p.treeDark), light(p.treeLight);
    for (int gy = 4; gy < m_height - 4; gy += 8) {
        for (int gx = 4 + ((gy / 8) & 1) * 4; gx < m_width - 4; gx += 9) {
            const uint32_t r = Hash(gx, gy, symbolSeed);
            const int x = gx + int(r % 5) - 2, y = gy + int((r >> 8) % 5) - 2;
            const Sample s = sampleAt(float(x), float(y));
            const float m = s.m + 0.06f * d.f(x, y);
            const float h = s.h + 0.03f * d.c(x, y);
            if (m < p.forestAbove + 0.03f || h < 0.07f || h > 0.44f || !isLand(x, y))
                continue;
            if ((r >> 16) % 7 == 0)
                continue; // clearings
            if (p.conifers) {
                QPolygonF fir;
                fir << QPointF(x, y - 5) << QPointF(x - 3, y + 3) << QPointF(x + 3, y + 3);
                painter.setPen(Qt::NoPen);
                painter.setBrush(dark);
                painter.drawPolygon(fir);
                painter.setBrush(light);
                painter.drawRect(QRectF(x - 0.5, y + 3, 1, 2));
            } else {
                painter.setPen(QPen(dark, 0.8));
                painter.setBrush(light);
                painter.drawEllipse(QPointF(x, y), 3.0, 2.7);
                painter.setPen(Qt::NoPen);
                painter.setBrush(dark);
                painter.drawEllipse(QPointF(x + 1.0, y + 1.0), 1.4, 1.2);
            }
        }
    }

    // Mountain peaks, drawn from the back rows to the front.
    const QColor rockLight = QColor(Mix(p.rock, qRgb(255, 255, 255), 0.12f));
    const QColor rockDark(p.rockDark);
    const QColor snowColour(p.snow);
    for (int gy = 12; gy < m_height - 12; gy += 18) {
        for (int gx = 12 + ((gy / 18) & 1) * 13; gx < m_width - 12; gx += 26) {
            const uint32_t r = Hash(gx, gy, symbolSeed + 1);
            const int x = gx + int(r % 9) - 4, y = gy + int((r >> 8) % 7) - 3;
            const float h = heightAt(x, y);
            if (h < 0.62f || (r >> 24) % 5 < 2 || !isLand(x, y))
                continue;
            const double size = std::min(20.0, 9.0 + (h - 0.6) * 30.0) * (0.8 + ((r >> 16) % 5) * 0.1);
            const QPointF top(x, y - size), left(x - size * 0.9, y + 2), right(x + size * 0.9, y + 2);
            QPolygonF litSide, shadeSide;
            litSide << top << left << QPointF(x + size * 0.1, y + 2);
            shadeSide << top << QPointF(x + size * 0.1, y + 2) << right;
            painter.setPen(Qt::NoPen);
            painter.setBrush(rockLight);
            painter.drawPolygon(litSide);
            painter.setBrush(rockDark);
            painter.drawPolygon(shadeSide);
            if (h > p.snowLevel - 0.05f) {
                QPolygonF cap;
                cap << top << QPointF(x - size * 0.36, y - size * 0.6) << QPointF(x + size * 0.1, y - size * 0.5)
                    << QPointF(x + size * 0.36, y - size * 0.6);
                painter.setBrush(snowColour);
                painter.drawPolygon(cap);
            }
            painter.setPen(QPen(QColor(p.coastLine), 1.0));
            painter.setBrush(Qt::NoBrush);
            painter.drawPolyline(QPolygonF() << left << top << right);
        }
    }

    // Roads: a gently bent dashed track, drawn only when it stays on land.
    QPen roadPen(QColor(p.road), 2.0, Qt::DashLine, Qt::RoundCap);
    roadPen.setDashPattern({3.0, 2.0});
    for (const Road& road : roads) {
        const QPointF a(road.from), b(road.to);
        const QPointF dir = b - a;
        const QPointF normal(-dir.y(), dir.x());
        const uint32_t r = Hash(road.from.x() * 7 + road.to.x(), road.from.y() * 7 + road.to.y(), symbolSeed + 2);
        const double bend = (double(r % 1000) / 1000.0 - 0.5) * 0.35;
        QPainterPath path(a);
        path.quadTo(a + dir * 0.5 + normal * bend, b);
        bool dry = true;
        for (int k = 1; k < 40 && dry; ++k) {
            const QPointF q = path.pointAtPercent(k / 40.0);
            const int qx = int(q.x()), qy = int(q.y());
            const DetailTexture& dt = Detail();
            const Sample s = sampleAt(static_cast<float>(q.x()), static_cast<float>(q.y()));
            dry = s.h + 0.03f * dt.c(qx, qy) > 0.04f && s.lake + 0.03f * dt.c(qx + 97, qy + 31) < 0.f && s.h < 0.6f;
        }
        if (!dry)
            continue;
        painter.setPen(roadPen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
    }

    // The sheet's frame.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(p.coastLine), 3));
    painter.drawRect(QRect(1, 1, m_width - 3, m_height - 3));
    painter.setPen(QPen(QColor(p.paper), 1));
    painter.drawRect(QRect(5, 5, m_width - 11, m_height - 11));
    painter.end();
    return img;
}

} // namespace demoworld
