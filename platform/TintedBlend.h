#pragma once
#include <SDL.h>

#include <array>
#include <cstddef>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// A tinted texel blended over a pixel as SDL's software renderer does it, to the last bit:
// colour c = c * tint / 255 and alpha a = a * tint alpha / 255, then each colour channel
// d = c * a / 255 + d * (255 - a) / 255 and the alpha d = a + d * (255 - a) / 255, every division
// truncating. Rows going forward take four pixels at a time with SSE2 where there is SSE2.
class TTintedBlend {
public:
    explicit TTintedBlend(const SDL_Color& tint) : tint_(tint) {
        for (uint32_t v = 0; v < 256; ++v) {
            alpha_[v] = uint8_t(v * tint.a / 255);
            red_[v] = uint8_t(v * tint.r / 255);
            green_[v] = uint8_t(v * tint.g / 255);
            blue_[v] = uint8_t(v * tint.b / 255);
        }
    }

    // `count` pixels from dst on, the texels from src on, `step` texels apart (1 or -1).
    void Row(const uint32_t* src, int step, uint32_t* dst, int count) const {
        int x = 0;
#if defined(__SSE2__)
        if (step == 1)
            for (; x + 4 <= count; x += 4) Four(src + x, dst + x);
#endif
        for (; x < count; ++x) dst[x] = One(src[ptrdiff_t(x) * step], dst[x]);
    }

private:
    uint32_t One(uint32_t s, uint32_t d) const {
        const uint32_t a = alpha_[s >> 24];
        if (a == 0) return d;
        const uint32_t r = red_[(s >> 16) & 255], g = green_[(s >> 8) & 255], b = blue_[s & 255];
        if (a == 255) return 0xFF000000u | r << 16 | g << 8 | b;
        const uint32_t keep = 255 - a;
        return (a + (d >> 24) * keep / 255) << 24 |
               (r * a / 255 + ((d >> 16) & 255) * keep / 255) << 16 |
               (g * a / 255 + ((d >> 8) & 255) * keep / 255) << 8 |
               (b * a / 255 + (d & 255) * keep / 255);
    }

#if defined(__SSE2__)
    // v / 255 for 0 <= v <= 65535 in each 16-bit lane: (v * 0x8081) >> 23.
    static __m128i Div255(__m128i v) {
        return _mm_srli_epi16(_mm_mulhi_epu16(v, _mm_set1_epi16(short(0x8081))), 7);
    }
    // Two pixels, widened to 16-bit lanes (b g r a b g r a).
    __m128i Two(__m128i s, __m128i d) const {
        const __m128i tint =
            _mm_setr_epi16(tint_.b, tint_.g, tint_.r, tint_.a, tint_.b, tint_.g, tint_.r, tint_.a);
        const __m128i tinted = Div255(_mm_mullo_epi16(s, tint));
        // The tinted alpha in every lane of its pixel.
        const __m128i a = _mm_shufflehi_epi16(_mm_shufflelo_epi16(tinted, 0xFF), 0xFF);
        // Colour lanes take c * a / 255; the alpha lane a * 255 / 255 = a.
        const __m128i alphaLanes = _mm_setr_epi16(0, 0, 0, -1, 0, 0, 0, -1);
        const __m128i c = _mm_or_si128(_mm_andnot_si128(alphaLanes, tinted),
                                       _mm_and_si128(alphaLanes, _mm_set1_epi16(255)));
        const __m128i keep = _mm_sub_epi16(_mm_set1_epi16(255), a);
        return _mm_add_epi16(Div255(_mm_mullo_epi16(c, a)), Div255(_mm_mullo_epi16(d, keep)));
    }
    void Four(const uint32_t* src, uint32_t* dst) const {
        const __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src));
        // Four clear texels leave the pixels as they are.
        if ((_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_srli_epi32(s, 24), _mm_setzero_si128())) &
             0x1111) == 0x1111)
            return;
        const __m128i d = _mm_loadu_si128(reinterpret_cast<const __m128i*>(dst));
        const __m128i zero = _mm_setzero_si128();
        const __m128i low = Two(_mm_unpacklo_epi8(s, zero), _mm_unpacklo_epi8(d, zero));
        const __m128i high = Two(_mm_unpackhi_epi8(s, zero), _mm_unpackhi_epi8(d, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), _mm_packus_epi16(low, high));
    }
#endif

    [[maybe_unused]] SDL_Color tint_; // read by the four-pixel path only
    std::array<uint8_t, 256> alpha_{}, red_{}, green_{}, blue_{};
};
