#include "platform/Cpu.h"

#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#endif

void ReadCpuIdentification(std::string& vendor, std::string& brand) {
    vendor.clear();
    brand.clear();
#if defined(__x86_64__) || defined(__i386__)
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (__get_cpuid(0, &a, &b, &c, &d)) {
        char v[13] = {};
        std::memcpy(v, &b, 4); // EBX, EDX, ECX
        std::memcpy(v + 4, &d, 4);
        std::memcpy(v + 8, &c, 4);
        vendor = v;
    }
    if (__get_cpuid(0x80000000, &a, &b, &c, &d) && a >= 0x80000004) {
        char text[49] = {};
        for (unsigned leaf = 0; leaf < 3; ++leaf) {
            unsigned r[4] = {};
            __get_cpuid(0x80000002 + leaf, &r[0], &r[1], &r[2], &r[3]);
            std::memcpy(text + size_t{16} * leaf, r, 16);
        }
        brand = text; // up to the first zero byte
    }
#endif
}
