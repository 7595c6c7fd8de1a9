#pragma once

#include <QByteArray>

namespace varkel::demo {

// "d_sce.vk": city names, court ranks and the 255 treasure records.
QByteArray MakeScenario();

// "m_msg.vk": the 80 treasure notes, one per picture number.
QByteArray MakeMessages();

// "Svd_sys.sav": 100 new-officer records, the first few named.
QByteArray MakeSystemSave();

// "RDText.vk": the biographies of the named new officers, then other texts.
QByteArray MakeBiographyFile();

}  // namespace varkel::demo
