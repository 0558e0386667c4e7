#pragma once
// nimb verify: what an import made against what the file holds.
#include <ostream>
#include <string>

class ZrDbDatabase;

struct AuditOptions {
    // Largest relative difference of volume and area that passes; the
    // centroid may stray a tenth of it, relative to the body's size.
    double tolerance = 1e-3;
};

struct AuditResult {
    int solids = 0, solidsWithin = 0;
    int sheets = 0, sheetsWithin = 0;
    double sheetArea = 0.0, sheetAreaMade = 0.0;
    int misses = 0;
    bool failed() const { return misses > 0; }
};

// Compares the bodies of drawing (the import of file) with the file read
// again by the host's kernel. Prints one line per miss and one summary
// line, each starting with label.
AuditResult auditImport(const std::string& file, const std::string& label, ZrDbDatabase* drawing,
                        const AuditOptions& options, std::ostream& out);
