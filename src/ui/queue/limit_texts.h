#pragma once
// The tab texts that come from a model's limits table, so that what a tab promises is what its
// model accepts.

#include <QString>
#include <QStringList>

#include "core/queue/model_limits.h"

namespace wachtrix::ui {

inline QString Label(const FieldLimit& field) {
    return QString::fromUtf8(field.rangeLabel.data(),
                             static_cast<qsizetype>(field.rangeLabel.size()));
}

// The caption of a value-group box ('T', 'P' or 'N').
inline QString Caption(const ModelLimits& limits, char kind) {
    const ValueGroupLimit* group = limits.group(kind);
    return group ? QString::fromUtf8(group->caption.data(),
                                     static_cast<qsizetype>(group->caption.size()))
                 : QString();
}

// The radio items of an Output group.
inline QStringList Captions(OutputGroup group) {
    QStringList captions;
    for (const OutputItem& item : group)
        captions << QString::fromUtf8(item.caption.data(),
                                      static_cast<qsizetype>(item.caption.size()));
    return captions;
}

}  // namespace wachtrix::ui
