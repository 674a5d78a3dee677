#pragma once
// The processor's identification: the 12-character vendor string and the brand string (up to its
// first zero byte). Empty strings where the processor or the compiler offers no CPUID.
#include <string>

void ReadCpuIdentification(std::string& vendor, std::string& brand);
