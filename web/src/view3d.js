// The view of a drawing with heights: a model that is not flat opens in perspective from the
// south-east above, its faces lit so that walls read as walls (the document's materials are
// unlit, which would paint every wall of one colour as one flat patch); lines stay as they are.
// The layer tree gets a height field beside each layer: that layer raised, as --extrude does.
import * as THREE from 'three';
import { DrawingView } from './view.js';
import { text } from './texts.js';

// A model whose heights span less than this share of its width is flat (the document centres
// the model, so its span, not its place, tells).
const FLAT = 1e-6;
const WALL_GREY = new THREE.Color(0.8, 0.8, 0.8);
// From the south-east (+X, +Z in the document's Y-up frame, north being -Z), 35° above.
const FROM = new THREE.Vector3(1, Math.tan((35 * Math.PI) / 180) * Math.SQRT2, 1).normalize();

// "0-1" as the document names layer 1 of group 0.
export function layerPosition(layer) {
  return `${(layer >> 4).toString(16).toUpperCase()}-${(layer & 15).toString(16).toUpperCase()}`;
}

export class DrawingView3D extends DrawingView {
  // heightOf(position): the layer's height as kept ('' for none); onHeight(position, value):
  // a height typed in the tree ('' drops it).
  constructor(canvasHolder, tree, status, { heightOf = () => '', onHeight = () => {} } = {}) {
    super(canvasHolder, tree, status);
    this.heightOf = heightOf;
    this.onHeight = onHeight;
    this.flatCamera = this.camera;
    this.perspective = new THREE.PerspectiveCamera(35, 1, 0.1, 1000);
    this.raised = false;
    // A sun and a sky, seen only by the lit faces of a raised model: roofs brightest, then the
    // walls facing south, then those facing east, so that the sides seen first differ.
    const sun = new THREE.DirectionalLight(0xffffff, 3.4);
    sun.position.set(0.3, 1.2, 0.6);
    this.scene.add(sun, new THREE.HemisphereLight(0xffffff, 0x303030, 1.3));
  }

  async show(glb) {
    this.raised = false;
    await super.show(glb);
    if (!this.content) return;
    const size = new THREE.Box3().setFromObject(this.content).getSize(new THREE.Vector3());
    this.raised = size.y > FLAT * Math.max(size.x, size.z, 1e-9);
    this.holder.dataset.raised = String(this.raised);
    if (!this.raised) return;
    this.lightFaces();
    this.view3D();
  }

  // The unlit materials of the faces become lit ones, shaded per face. Their colour is the pen's
  // taken part of the way to a light grey: a black wall would stay black however it is lit,
  // and the lines, left in the pen's colour, stand out on the walls they border.
  lightFaces() {
    const lit = new Map();
    this.content.traverse((object) => {
      if (!object.isMesh) return;
      const before = object.material;
      if (!lit.has(before)) {
        lit.set(before, new THREE.MeshLambertMaterial({
          color: before.color.clone().lerp(WALL_GREY, 0.6), opacity: before.opacity, transparent: before.transparent,
          side: THREE.DoubleSide, flatShading: true,
        }));
      }
      object.material = lit.get(before);
    });
    for (const before of lit.keys()) before.dispose();
  }

  useCamera(camera) {
    this.camera = camera;
    this.controls.object = camera;
  }

  topView() {
    if (!this.renderer) return;
    this.useCamera(this.flatCamera);
    this.holder.dataset.camera = 'top';
    super.topView();
  }

  // In perspective from the south-east above, as near as every point of the model still lies
  // in the view, and centred on what it shows.
  view3D() {
    if (!this.renderer || !this.content) return;
    const camera = this.perspective;
    this.useCamera(camera);
    this.holder.dataset.camera = '3d';
    this.resize();
    const box = new THREE.Box3().setFromObject(this.content);
    if (box.isEmpty()) box.set(new THREE.Vector3(-1, -1, -1), new THREE.Vector3(1, 1, 1));
    const points = this.pointsAround(box.getCenter(new THREE.Vector3()));
    const tanV = Math.tan((camera.fov * Math.PI) / 360) / 1.05, tanH = tanV * camera.aspect;
    // Twice: the distance that holds every point, then the sideways shift that centres them.
    const centre = box.getCenter(new THREE.Vector3());
    let distance = 1e-6;
    for (let pass = 0; pass < 2; pass++) {
      distance = 1e-6;
      for (const [x, y, z] of points) distance = Math.max(distance, z + Math.abs(x) / tanH, z + Math.abs(y) / tanV);
      const low = [Infinity, Infinity], high = [-Infinity, -Infinity];
      for (const [x, y, z] of points) {
        const seen = [x / (distance - z), y / (distance - z)];
        for (const i of [0, 1]) [low[i], high[i]] = [Math.min(low[i], seen[i]), Math.max(high[i], seen[i])];
      }
      const shift = [((low[0] + high[0]) / 2) * distance, ((low[1] + high[1]) / 2) * distance];
      if (pass === 0) {
        centre.addScaledVector(this.right, shift[0]).addScaledVector(this.up, shift[1]);
        for (const point of points) [point[0], point[1]] = [point[0] - shift[0], point[1] - shift[1]];
      }
    }
    const reach = box.getSize(new THREE.Vector3()).length();
    camera.position.copy(centre).addScaledVector(FROM, distance);
    // Room to orbit and to come closer: the far plane well behind, the near one a small share of it.
    camera.far = (distance + reach) * 4;
    camera.near = camera.far * 1e-5;
    camera.zoom = 1;
    camera.updateProjectionMatrix();
    this.controls.target.copy(centre);
    this.controls.update();
    this.render();
  }

  // The visible objects' vertices about `centre` as [across, up, toward the camera], the view's
  // axes; a model of more than a million vertices gives every n-th, enough to frame it.
  pointsAround(centre) {
    this.right = new THREE.Vector3(0, 1, 0).cross(FROM).normalize();
    this.up = FROM.clone().cross(this.right);
    const points = [], at = new THREE.Vector3();
    let total = 0;
    this.content.traverseVisible((object) => { total += object.geometry?.attributes.position?.count ?? 0; });
    const step = Math.max(1, Math.ceil(total / 1e6));
    this.content.updateMatrixWorld(true);
    this.content.traverseVisible((object) => {
      const positions = object.geometry?.attributes.position;
      if (!positions) return;
      for (let i = 0; i < positions.count; i += step) {
        at.fromBufferAttribute(positions, i).applyMatrix4(object.matrixWorld).sub(centre);
        points.push([at.dot(this.right), at.dot(this.up), at.dot(FROM)]);
      }
    });
    return points;
  }

  resize() {
    if (!this.camera?.isPerspectiveCamera) return super.resize();
    const width = Math.max(this.holder.clientWidth, 1), height = Math.max(this.holder.clientHeight, 1);
    this.renderer.setSize(width, height, false);
    this.camera.aspect = width / height;
    this.camera.updateProjectionMatrix();
    this.render();
  }

  buildTree(gltf) {
    this.nodeOf = (object) => gltf.parser.json.nodes?.[gltf.parser.associations.get(object)?.nodes];
    super.buildTree(gltf);
  }

  // A layer's item gets its height field, kept by its position whatever the layer's name.
  treeItem(object, name) {
    const item = super.treeItem(object, name);
    const layer = this.nodeOf?.(object)?.extras?.layer;
    if (!Number.isInteger(layer)) return item;
    const position = layerPosition(layer);
    const field = document.createElement('input');
    field.type = 'number';
    field.step = 'any';
    field.className = 'layer-height';
    field.name = `extrude-${position}`;
    field.placeholder = text('layerHeight');
    field.title = text('layerHeight.title', { position });
    field.value = this.heightOf(position);
    field.addEventListener('change', () => {
      this.onHeight(position, field.value.trim());
      field.value = this.heightOf(position);  // what was kept: a value that is no height shows as none
    });
    item.querySelector('label').after(field);
    return item;
  }
}
