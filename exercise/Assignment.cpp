// SPDX-FileCopyrightText: 2026 Curve sulla corda contributors
// SPDX-License-Identifier: GPL-3.0-or-later

#include "Assignment.h"

#include <algorithm>

const char* lockedGroupKey(LockedGroup group) {
    switch (group) {
    case LockedGroup::Chord:
        return "chord";
    case LockedGroup::Target:
        return "target";
    case LockedGroup::Density:
        return "density";
    case LockedGroup::Increments:
        return "increments";
    }
    return "";
}

std::vector<ParameterField> fieldsOf(LockedGroup group) {
    using F = ParameterField;
    switch (group) {
    case LockedGroup::Chord:
        return {F::Text1, F::Text2, F::Text4, F::Text5};
    case LockedGroup::Target:
        return {F::Text3, F::Text8};
    case LockedGroup::Density:
        return {F::Text9};
    case LockedGroup::Increments:
        return {F::Text11, F::Text10};
    }
    return {};
}

bool Assignment::locks(ParameterField field) const {
    return std::any_of(locked.begin(), locked.end(), [field](LockedGroup group) {
        const std::vector<ParameterField> fields = fieldsOf(group);
        return std::find(fields.begin(), fields.end(), field) != fields.end();
    });
}

bool Assignment::reaches(double distance) const {
    return distance <= tolerance;
}
