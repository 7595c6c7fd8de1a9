#pragma once

#include "shared/session.h"

#include <QDialog>

namespace varkel::test {

// A picker that, when shown, picks what a user would: `value` becomes the
// session's current face (the face picker) or its picked officer (the officer
// picker); a negative value is a cancel, which changes nothing. Give it to a
// window through its child factory.
class ScriptedPicker : public QDialog {
public:
    enum class Picks { Face, Officer };
    ScriptedPicker(Session& session, Picks picks, int value) : session_(session), picks_(picks), value_(value) {}
    int exec() override
    {
        if (value_ < 0)
            return Rejected;
        (picks_ == Picks::Face ? session_.currentFace : session_.pickedOfficer) = value_;
        return Accepted;
    }

private:
    Session& session_;
    Picks picks_;
    int value_;
};

}  // namespace varkel::test
