// The 3D view of one drawing: its glTF binary in three.js, seen from above (orthographic) and
// framed when opened, with orbit, pan and zoom; the layer groups and layers as a tree of check
// boxes that hide or show them. Names from the drawing are only ever inserted as text.
import * as THREE from 'three';
import { GLTFLoader } from 'three/examples/jsm/loaders/GLTFLoader.js';
import { OrbitControls } from 'three/examples/jsm/controls/OrbitControls.js';
import { text } from './texts.js';

const BACKGROUNDS = { light: 0xffffff, dark: 0x000000 };

export class DrawingView {
  constructor(canvasHolder, tree, status) {
    this.holder = canvasHolder;
    this.tree = tree;
    this.status = status;
    this.scene = new THREE.Scene();
    this.camera = new THREE.OrthographicCamera(-1, 1, 1, -1, 0, 1);
    this.content = null;
    try {
      // The drawing buffer is kept so that a picture of the view can be taken (the page's test).
      this.renderer = new THREE.WebGLRenderer({ antialias: true, preserveDrawingBuffer: true });
    } catch {
      this.renderer = null;  // no WebGL: conversions and downloads still work
      return;
    }
    this.renderer.setPixelRatio(window.devicePixelRatio || 1);
    canvasHolder.append(this.renderer.domElement);
    this.controls = new OrbitControls(this.camera, this.renderer.domElement);
    this.controls.screenSpacePanning = true;
    this.controls.addEventListener('change', () => this.render());
    new ResizeObserver(() => this.resize()).observe(canvasHolder);
    this.resize();
  }

  get available() {
    return this.renderer !== null;
  }

  // The background the shown drawing's pens were made for: "light" or "dark".
  setBackground(mode) {
    this.scene.background = new THREE.Color(BACKGROUNDS[mode] ?? BACKGROUNDS.dark);
    this.holder.dataset.background = mode in BACKGROUNDS ? mode : 'dark';
    this.render();
  }

  // Shows the drawing of the glTF binary `glb` (a Uint8Array); resolves once it is drawn.
  async show(glb) {
    if (!this.renderer) return;
    const buffer = glb.buffer.slice(glb.byteOffset, glb.byteOffset + glb.byteLength);
    const gltf = await new GLTFLoader().parseAsync(buffer, '');
    this.clear();
    this.content = gltf.scene;
    this.scene.add(this.content);
    this.buildTree(gltf);
    this.topView();
    this.countVisible();
    await new Promise((resolve) => requestAnimationFrame(() => resolve()));
  }

  clear() {
    if (this.content) {
      this.scene.remove(this.content);
      this.content.traverse((object) => {
        object.geometry?.dispose();
        object.material?.dispose();
      });
      this.content = null;
    }
    this.tree.replaceChildren();
    this.status.textContent = '';
    this.render();
  }

  // From above, the whole drawing in the view, north up.
  topView() {
    if (!this.renderer || !this.content) return;
    const box = new THREE.Box3().setFromObject(this.content);
    if (box.isEmpty()) box.set(new THREE.Vector3(-1, -1, -1), new THREE.Vector3(1, 1, 1));
    const centre = box.getCenter(new THREE.Vector3());
    const size = box.getSize(new THREE.Vector3());
    const extent = Math.max(size.x, size.y, size.z, 1e-6);
    this.frame = { halfWidth: Math.max(size.x, 1e-6) / 2 * 1.05, halfDepth: Math.max(size.z, 1e-6) / 2 * 1.05 };
    const height = size.y / 2 + extent * 2;
    // A hair off the vertical, so that "up" on the screen is the drawing's north (-Z).
    this.camera.position.set(centre.x, centre.y + height, centre.z + height * 1e-6);
    this.camera.near = 0;
    this.camera.far = height * 2 + size.y;
    this.camera.zoom = 1;
    this.controls.target.copy(centre);
    this.resize();
    this.controls.update();
    this.render();
  }

  resize() {
    if (!this.renderer) return;
    const width = Math.max(this.holder.clientWidth, 1), height = Math.max(this.holder.clientHeight, 1);
    this.renderer.setSize(width, height, false);
    const aspect = width / height;
    const frame = this.frame ?? { halfWidth: 1, halfDepth: 1 };
    const halfHeight = Math.max(frame.halfDepth, frame.halfWidth / aspect);
    Object.assign(this.camera, { left: -halfHeight * aspect, right: halfHeight * aspect, top: halfHeight, bottom: -halfHeight });
    this.camera.updateProjectionMatrix();
    this.render();
  }

  render() {
    this.renderer?.render(this.scene, this.camera);
  }

  // The root's layer groups and their layers, with the drawing's own names, each with a box.
  buildTree(gltf) {
    const { json, associations } = gltf.parser;
    const nodeOf = (object) => json.nodes?.[associations.get(object)?.nodes];
    const entries = (parent, wanted) => parent.children.filter((child) => nodeOf(child)?.extras?.[wanted] !== undefined);
    const root = gltf.scene.children[0];
    const list = document.createElement('ul');
    for (const group of root ? entries(root, 'layerGroup') : []) {
      const item = this.treeItem(group, nodeOf(group).name);
      const layers = document.createElement('ul');
      for (const layer of entries(group, 'layer')) layers.append(this.treeItem(layer, nodeOf(layer).name));
      item.append(layers);
      list.append(item);
    }
    this.tree.replaceChildren(list);
  }

  treeItem(object, name) {
    const item = document.createElement('li');
    const label = document.createElement('label');
    const box = document.createElement('input');
    box.type = 'checkbox';
    box.checked = true;
    box.addEventListener('change', () => {
      object.visible = box.checked;
      this.countVisible();
      this.render();
    });
    const caption = document.createElement('span');
    caption.className = 'name';
    caption.textContent = name ?? '';
    label.append(box, caption);
    item.append(label);
    return item;
  }

  // What the scene shows now: segments and triangles of the objects not hidden.
  countVisible() {
    let segments = 0, triangles = 0;
    this.content?.traverseVisible((object) => {
      const geometry = object.geometry;
      if (!geometry) return;
      const count = geometry.index ? geometry.index.count : geometry.attributes.position.count;
      if (object.isLineSegments) segments += count / 2;
      else if (object.isMesh) triangles += count / 3;
    });
    this.status.dataset.segments = String(segments);
    this.status.dataset.triangles = String(triangles);
    this.status.textContent = text('visible', { segments: segments.toLocaleString(), triangles: triangles.toLocaleString() });
  }
}
