// The archive page in headless Chromium, from disk and over HTTP.
import { defineScenarios } from './support/scenarios.mjs';

defineScenarios('chromium');
