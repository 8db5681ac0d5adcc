// Talks to Tovlo through window.external.calls(webName, text), which answers
// with a promise. In a plain browser there is no Tovlo: the page still works
// and says what it would have sent.
function hasTovlo() {
  return !!(window.external && typeof window.external.calls === 'function');
}
function showNotice(text, kind) {
  var box = document.getElementById('notice');
  if (!box) return;
  box.className = 'notice' + (kind ? ' ' + kind : '');
  box.textContent = text;
  box.hidden = false;
}
function tovloCall(webName, text) {
  if (!hasTovlo()) {
    showNotice('浏览器预览：此操作需在 Tovlo 中进行（' + text + '）');
    return Promise.resolve(false);
  }
  var failed = function (err) { showNotice('操作失败：' + err, 'error'); return false; };
  try {
    return Promise.resolve(window.external.calls(webName, text)).then(function () { return true; }, failed);
  } catch (err) {
    return Promise.resolve(failed(err));
  }
}
// Any element with data-cmd sends its command when clicked, under the web
// name of the page (data-web on the body).
document.addEventListener('click', function (ev) {
  var el = ev.target.closest ? ev.target.closest('[data-cmd]') : null;
  if (!el) return;
  ev.preventDefault();
  tovloCall(document.body.getAttribute('data-web') || 'web', el.getAttribute('data-cmd'));
});
