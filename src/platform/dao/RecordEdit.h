#pragma once

#include "Recordset.h"

namespace dao {

// An edit of the current record (or a new one) that is given up unless it is saved:
//     dao::RecordEdit e(rs);  rs["Tag"] = ...;  e.Update();
// Construction runs Edit (or AddNew); Update() writes the record and throws dao::Error as
// Recordset::Update does; leaving the scope any other way (a refused Update included) runs CancelUpdate,
// so the fields read the stored values again.
class RecordEdit {
public:
    enum Mode { Edit, AddNew };

    explicit RecordEdit(Recordset& rs, Mode m = Edit);
    ~RecordEdit();
    RecordEdit(const RecordEdit&) = delete;
    RecordEdit& operator=(const RecordEdit&) = delete;

    void Update();

private:
    Recordset& rs;
    bool done = false;
};

}  // namespace dao
