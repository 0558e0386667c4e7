#pragma once
// Services the host gives the database layer and its users.
#include "ZrDbDatabase.h"

class ZrDbHostAppServices : public ZrRxObject {
public:
    ZRRX_DECLARE_MEMBERS(ZrDbHostAppServices);

    // The measurement system new drawings start with: 0 imperial (inches),
    // 1 metric (millimetres). The host sets it from its settings; 1 by default.
    short measurementDefault() const { return m_measurement; }
    void setMeasurementDefault(short value) { m_measurement = value; }

    // A new database holding one reference for the caller.
    ZrDbDatabasePtr createDatabase(bool buildDefaultDrawing, bool metric) const;

private:
    short m_measurement = 1;
};

ZrDbHostAppServices* zrdbHostApplicationServices();

namespace Nimb {
// The host interface version (NIMB_API_VERSION) this database library implements.
int zrrxGetApiVersion();
}
