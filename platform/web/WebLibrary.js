// Web backend: JavaScript library functions that need other parts of emscripten's runtime in the
// page. SDL's audio resumes its WebAudio context on the page's first gesture through
// autoResumeAudioContext and calls back through dynCall; naming them here keeps them in the
// program's script.
mergeInto(LibraryManager.library, {
  glgui_screen_size__deps: ['$autoResumeAudioContext', '$dynCall'],
  glgui_screen_size: function(width, height) {
    HEAP32[width >> 2] = window.screen.width;
    HEAP32[height >> 2] = window.screen.height;
  },

  // ---- the accessibility tree's mirror ----------------------------------------------------------
  // Real elements over the canvas (the page's #access layer), one per node of the program's tree
  // (platform/Accessibility.h), nested as the nodes are: screens as regions (named) or plain
  // containers, panels as groups, labels as text, buttons as buttons. Screen readers read them; the
  // page's style keeps them unseen and out of the pointer's way. Each element stays from one tree to
  // the next while its node does, so a screen reader's place and the focus survive updates. The
  // layer lies over the canvas in the drawing buffer's pixels, scaled to the canvas's size on the
  // page, so the nodes' rectangles (window pixels) are placed as they are.
  $GlguiAccess: {
    layer: null,
    announcer: null,
    elements: null,  // node ID -> element
    focus: -1,       // the node whose element has (or is given) the DOM focus
    said: 0,         // the announcement serial last spoken

    start: function() {
      const A = GlguiAccess;
      A.layer = document.getElementById('access');
      A.announcer = document.getElementById('announcer');
      A.elements = new Map();
      if (!A.layer) return;
      const canvas = Module['canvas'];
      // The page places the canvas (its style) and the program sizes its buffer (width, height).
      new MutationObserver(A.place).observe(canvas, {attributes: true, attributeFilter: ['style', 'width', 'height']});
      // A screen reader's focus and activation; neither comes from the program's own keys, as those
      // reach the program on the window (SDL listens there) and the program moves the focus itself.
      A.layer.addEventListener('focusin', e => {
        const id = e.target.glguiId;
        if (id === undefined || id === A.focus) return;
        A.focus = id;
        A.act(id, 2 /* AccessActionFocus */);
      });
      A.layer.addEventListener('click', e => {
        if (e.target.localName === 'button' && e.target.glguiId !== undefined) A.act(e.target.glguiId, 1 /* AccessActionPress */);
      });
      // Enter and Space on a focused button press it through the program, which has them as keys;
      // the browser's own click from them would press it a second time.
      for (const type of ['keydown', 'keyup']) {
        A.layer.addEventListener(type, e => {
          if (e.key === 'Enter' || e.key === ' ') e.preventDefault();
        });
      }
    },

    act: function(id, action) {
      if (!ABORT && !runtimeExited) _glgui_access_action(id, action);
    },

    place: function() {
      const A = GlguiAccess, canvas = Module['canvas'];
      if (!canvas.width || !canvas.height) return;
      Object.assign(A.layer.style, {
        left: canvas.offsetLeft + 'px', top: canvas.offsetTop + 'px',
        width: canvas.width + 'px', height: canvas.height + 'px',
        transform: 'scale(' + canvas.offsetWidth / canvas.width + ',' + canvas.offsetHeight / canvas.height + ')',
      });
    },

    make: function(kind, id) {
      const tag = {screen: 'div', region: 'section', group: 'div', text: 'p', button: 'button'}[kind];
      const el = document.createElement(tag);
      if (kind === 'group') el.setAttribute('role', 'group');
      if (kind === 'button') el.type = 'button';
      el.glguiId = id;
      el.glguiKind = kind;
      return el;
    },

    update: function(tree) {
      const A = GlguiAccess, nodes = tree.nodes, placed = new Array(nodes.length);
      const last = new Map();  // container -> the child placed last in it
      // The elements of nodes that went leave first: the others then keep their places.
      const live = new Set(nodes.map(n => n[0]));
      A.elements.forEach((el, id) => {
        if (!live.has(id)) {
          el.remove();
          A.elements.delete(id);
        }
      });
      let focused = -1;
      for (let i = 0; i < nodes.length; i++) {
        const [id, parent, role, states, , left, top, right, bottom, name] = nodes[i];
        const kind = role === 0 ? (name ? 'region' : 'screen') : ['', 'group', 'text', 'button'][role];
        let el = A.elements.get(id);
        if (!el || el.glguiKind !== kind) {
          if (el) el.remove();
          el = A.make(kind, id);
          A.elements.set(id, el);
        }
        if (el.glguiName !== name) {
          el.glguiName = name;
          if (kind === 'text' || kind === 'button') el.textContent = name;
          else if (name) el.setAttribute('aria-label', name);
          else el.removeAttribute('aria-label');
        }
        const p = parent >= 0 ? nodes[parent] : null;
        const box = [left - (p ? p[5] : 0), top - (p ? p[6] : 0), right - left, bottom - top];
        if (String(el.glguiBox) !== String(box)) {
          el.glguiBox = box;
          Object.assign(el.style, {left: box[0] + 'px', top: box[1] + 'px', width: box[2] + 'px', height: box[3] + 'px'});
        }
        el.toggleAttribute('data-hovered', (states & 8) !== 0);
        if (kind === 'group' && el.hasAttribute('tabindex') !== ((states & 1) !== 0)) {
          if (states & 1) el.tabIndex = -1;  // a panel the keys can move takes the focus, not a Tab stop
          else el.removeAttribute('tabindex');
        }
        if (states & 2) focused = id;
        // In its parent's element, after the sibling before it: moved only when out of place. An
        // element that holds the focus is not moved (that would take the focus away): the
        // siblings before it go to the end, where their own turns place them.
        const container = (parent >= 0 && placed[parent]) || A.layer;
        const before = last.get(container);
        let at = before ? before.nextSibling : container.firstChild;
        if (at !== el && el.parentNode === container && el.contains(document.activeElement)) {
          for (; at !== el; at = before ? before.nextSibling : container.firstChild) container.append(at);
        }
        if (at !== el) container.insertBefore(el, at);
        last.set(container, el);
        placed[i] = el;
      }
      if (focused !== A.focus) {
        A.focus = focused;
        const el = A.elements.get(focused);
        if (el && document.activeElement !== el) el.focus({preventScroll: true});
        else if (!el && A.layer.contains(document.activeElement)) document.activeElement.blur();
      }
      if (tree.said !== A.said) {
        A.said = tree.said;
        // The same words again are still news: a changed text is what a live region speaks.
        if (tree.say && A.announcer)
          A.announcer.textContent = A.announcer.textContent === tree.say ? tree.say + '\u00a0' : tree.say;
      }
    },
  },

  // The program's tree, each time it changes (WebAccessibility.cpp).
  glgui_mirror_access_tree__deps: ['$GlguiAccess'],
  glgui_mirror_access_tree: function(json) {
    if (!GlguiAccess.elements) {
      GlguiAccess.start();
      GlguiAccess.place();
    }
    if (GlguiAccess.layer) GlguiAccess.update(JSON.parse(UTF8ToString(json)));
  },
});
