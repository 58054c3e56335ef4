#include "app/data_windows.h"

#include <cstdint>
#include <memory>
#include <utility>

#include "app/main_frame.h"
#include "device/display_options.h"
#include "view/dastrel_view.h"

namespace velorin {

void UseHistoryViews(CMainFrame& frame) {
    frame.SetDataViewFactory([&frame](std::shared_ptr<CDastrelDoc> doc, QWidget* parent) -> QWidget* {
        auto* view = new CDastrelView(std::move(doc), frame.Display(), parent);
        view->SetPrinting(&frame.UiPresenter(), [&frame](uint8_t(&now)[8]) { ChannelTypesOf(frame.Info(), now); });
        return view;
    });
}

}  // namespace velorin
