#pragma once
// Marks the functions the host finds in the module by name.
#define QUOR_EXPORT __attribute__((visibility("default")))
