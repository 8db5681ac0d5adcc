#include "page_views.h"

#include "core/twips.h"

namespace tovlo {

void PageViews::showClassPage(const std::string& url, const std::string& classId) {
    web3().navigate(url);
    web3Tag_ = classId;
}

void PageViews::prepareOverlays() {
    const Rect w = window_.geometry();
    const Rect overlay{twipsToPixels(100), twipsToPixels(450), w.width - twipsToPixels(300), w.height};
    for (BrowserView* view : {&Web2(), &web3()}) {
        view->setGeometry(overlay);
        view->setVisible(false);
        view->navigate("about:blank");
    }
}

void PageViews::fitToWindow() {
    const Rect w = window_.geometry();
    web().setGeometry({0, 0, w.width, w.height});
    if (w.height <= 50) return;
    for (BrowserView* view : {&Web2(), &web3()}) {
        Rect r = view->geometry();
        view->setGeometry({r.left, r.top, w.width - 15, w.height - 50});
    }
}

void PageViews::stopAll() {
    for (BrowserView* view : {&web(), &Web2(), &web3()}) view->stop();
}

}  // namespace tovlo
